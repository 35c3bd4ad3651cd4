// zrm48setup: the setup window for ZRM 48xx instruments, working in the
// current folder (dev.dat, recent.prf, profiles, logs).

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <filesystem>

#include "app/session.h"
#include "gui/guarded_application.h"
#include "gui/qt_dialogs.h"
#include "gui/quit_signals.h"
#include "gui/tform1.h"

int main(int argc, char** argv) {
  zrm::gui::BlockQuitSignals();
  zrm::gui::GuardedApplication app(argc, argv);
  // The window is Russian whatever the desktop's language: Qt's own dialog
  // buttons and the print preview follow.
  QTranslator qt_russian;
  if (qt_russian.load(QLocale(QLocale::Russian), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qt_russian);
  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::QtDialogs dialogs;
  zrm::gui::TForm1 window(session, dialogs);
  zrm::gui::QuitSignals quit_signals;
  QObject::connect(&quit_signals, &zrm::gui::QuitSignals::QuitRequested, &window,
                   &zrm::gui::TForm1::QuitBySignal);
  window.show();
  return app.exec();
}
