// zrm48setup: the setup window for ZRM 48xx instruments, working in the
// current folder (dev.dat, recent.prf, profiles, logs), or with
// --user-folder in the user's own folder ~/ZRM48.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/session.h"
#include "gui/guarded_application.h"
#include "gui/main_window.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_russian_texts.h"
#include "gui/qt_text.h"
#include "gui/quit_signals.h"
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
  zrm::gui::GuardedApplication app(argc, argv);
  // Lets the desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName("zrm48setup");
  const zrm::gui::QtRussianTexts qt_russian(app);
  if (command_line.user_folder && !EnterUserFolder()) return 1;
  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::QtDialogs dialogs;
  // The start-up may show message boxes (a port that cannot be opened) before
  // the window exists: a SIGTERM then dismisses them, and every box after
  // them, and closes the window as soon as it stands.
  zrm::gui::QuitSignals quit_signals;
  bool quit_during_start = false;
  QTimer dismiss_boxes;
  dismiss_boxes.setInterval(50);
  QObject::connect(&dismiss_boxes, &QTimer::timeout, [&] { dialogs.DismissOpen(); });
  const QMetaObject::Connection during_start =
      QObject::connect(&quit_signals, &zrm::gui::QuitSignals::QuitRequested, [&] {
        quit_during_start = true;
        dialogs.DismissOpen();
        dismiss_boxes.start();
      });
  zrm::gui::MainWindow window(session, dialogs);
  QObject::disconnect(during_start);
  dismiss_boxes.stop();
  QObject::connect(&quit_signals, &zrm::gui::QuitSignals::QuitRequested, &window,
                   &zrm::gui::MainWindow::QuitBySignal);
  if (quit_during_start)
    QMetaObject::invokeMethod(&window, &zrm::gui::MainWindow::QuitBySignal, Qt::QueuedConnection);
  window.show();
  return app.exec();
}
