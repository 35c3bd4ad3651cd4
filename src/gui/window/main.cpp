// zrm48setup: the setup window for ZRM 48xx instruments, working in the
// current folder (dev.dat, recent.prf, profiles, logs), or with
// --user-folder in the user's own folder ~/ZRM48.

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/session.h"
#include "gui/window/guarded_application.h"
#include "gui/window/main_window.h"
#include "gui/dialogs/qt_dialogs.h"
#include "gui/window/qt_russian_texts.h"
#include "gui/texts/qt_text.h"
#include "gui/window/quit_signals.h"
#include "gui/window/window_command_line.h"
#include "gui/texts/window_texts.h"

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
  zrm::gui::GuardedApplication app(argc, argv);
  // Lets the desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName("zrm48setup");
  const zrm::gui::QtRussianTexts qt_russian(app);
  if (command_line.user_folder && !EnterUserFolder()) return 1;
  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::QtDialogs dialogs;
  // The start-up runs no event loop (its boxes wait for the window), so a
  // SIGTERM that comes meanwhile is read once the window stands, and closes
  // it without showing them.
  zrm::gui::QuitSignals quit_signals;
  zrm::gui::MainWindow window(session, dialogs);
  QObject::connect(&quit_signals, &zrm::gui::QuitSignals::QuitRequested, &window,
                   &zrm::gui::MainWindow::QuitBySignal);
  window.show();
  return app.exec();
}
