// zrm48setup: the setup window for ZRM 48xx instruments, working in the
// current folder (dev.dat, recent.prf, profiles, logs).

#include <QApplication>
#include <filesystem>

#include "app/session.h"
#include "gui/qt_dialogs.h"
#include "gui/quit_signals.h"
#include "gui/tform1.h"

int main(int argc, char** argv) {
  zrm::gui::BlockQuitSignals();
  QApplication app(argc, argv);
  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::QtDialogs dialogs;
  zrm::gui::TForm1 window(session, dialogs);
  zrm::gui::QuitSignals quit_signals;
  QObject::connect(&quit_signals, &zrm::gui::QuitSignals::QuitRequested, &window,
                   &zrm::gui::TForm1::QuitBySignal);
  window.show();
  return app.exec();
}
