#include "gui/window/qt_russian_texts.h"

#include <QLibraryInfo>
#include <QLocale>

namespace zrm::gui {

QtRussianTexts::QtRussianTexts(QCoreApplication& app) {
  if (translator_.load(QLocale(QLocale::Russian), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&translator_);
}

}  // namespace zrm::gui
