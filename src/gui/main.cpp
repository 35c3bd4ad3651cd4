// zrm48setup: the setup window for ZRM 48xx instruments, working in the
// current folder (dev.dat, recent.prf, profiles, logs), or with
// --user-folder in the user's own folder ~/ZRM48.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/session.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_text.h"
#include "gui/quit_signals.h"
#include "gui/tform1.h"
#include "gui/window_command_line.h"
#include "gui/window_texts.h"

namespace {

// Makes the user's own folder the working folder; on failure says where and
// why in an error box, since a menu entry has no terminal to print to.
bool EnterUserFolder() {
  const char* home = std::getenv("HOME");
  const std::filesystem::path folder = zrm::gui::UserFolder(home ? home : "");
  std::string error;
  if (zrm::gui::EnterWorkingFolder(folder, error)) return true;
  QMessageBox::critical(nullptr, zrm::gui::ToQ(zrm::gui::text::kErrorCaption),
                        zrm::gui::ToQ(zrm::gui::text::kCannotEnterFolder) +
                            QString::fromStdString(folder.string() + ": " + error));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // --help and --version answer without a display.
  const zrm::gui::WindowCommandLine command_line =
      zrm::gui::ParseWindowCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (command_line.help) {
    std::fputs(zrm::gui::WindowUsageText().c_str(), stdout);
    return 0;
  }
  if (command_line.version) {
    std::printf("%s\n", zrm::gui::WindowVersionText().c_str());
    return 0;
  }
  zrm::gui::BlockQuitSignals();
  QApplication app(argc, argv);
  // The window is Russian whatever the desktop's language: Qt's own dialog
  // buttons and the print preview follow.
  QTranslator qt_russian;
  if (qt_russian.load(QLocale(QLocale::Russian), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qt_russian);
  if (command_line.user_folder && !EnterUserFolder()) return 1;
  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::QtDialogs dialogs;
  zrm::gui::TForm1 window(session, dialogs);
  zrm::gui::QuitSignals quit_signals;
  QObject::connect(&quit_signals, &zrm::gui::QuitSignals::QuitRequested, &window,
                   &zrm::gui::TForm1::QuitBySignal);
  window.show();
  return app.exec();
}
