#pragma once
// Qt's own texts in Russian whatever the desktop's language: the buttons of
// message boxes and questions ("Да", "Нет"), the file dialogs and the print
// preview follow the window's language.

#include <QCoreApplication>
#include <QTranslator>

namespace zrm::gui {

class QtRussianTexts {
 public:
  // Installs Qt's Russian translation into `app` for as long as this object
  // lives; without the translation files Qt keeps its English texts.
  explicit QtRussianTexts(QCoreApplication& app);

 private:
  QTranslator translator_;
};

}  // namespace zrm::gui
