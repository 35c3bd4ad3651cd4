// zrm48bus_view_scene OUTDIR: the window "Приборы на линии" against a bus
// of four emulated instruments (addresses 1..4 at 9600 bit/s) on port 1 of
// the current folder, saved as OUTDIR/bus-view.png once the instrument at
// address 1 has stopped answering: its row grey with its last values and the
// time since, the three others live. OUTDIR/bus-view-screen.png is the
// whole screen: where the view opened beside or over the main window.
// Message boxes go to stderr.

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTableView>
#include <filesystem>

#include "app/own_settings_file.h"
#include "app/session.h"
#include "gui/bus_view/bus_view_window.h"
#include "gui/window/main_window.h"
#include "tools/scene_support.h"
#include "tools/stderr_dialogs.h"
#include "lib/bus_options.h"

namespace {

// Instrument 1 swallows every request from now on.
zrm::sim::Fault Silence() {
  zrm::sim::Fault fault;
  fault.kind = zrm::sim::FaultKind::kNoReply;
  fault.when.by = zrm::sim::FaultWhen::By::kShare;
  fault.when.share = 1.0;
  return fault;
}

// The last search on the bus found the four.
bool KeepSearch(const zrm::sim::Simulator& bus) {
  std::string error;
  return zrm::SaveLastSearch(".", bus.SlavePath(), {1, 2, 3, 4}, error);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = zrm::gui::SceneOutputFolder(argc, argv, "zrm48bus_view_scene");
  if (out.isEmpty()) return 2;
  zrm::sim::Simulator bus(zrm::sim::BusOptions({1, 2, 3, 4}, 9600));
  if (!zrm::gui::ServeOnPortOne(bus) || !KeepSearch(bus)) return 1;
  bus.SetSensorBreak(2, true);

  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::StderrDialogs dialogs(true);
  zrm::gui::MainWindow window(session, dialogs);
  window.show();
  zrm::gui::Settle(600);
  window.findChild<QAction*>("BusViewItem")->trigger();
  auto* view = window.findChild<zrm::gui::BusViewWindow*>("BusView");
  zrm::gui::Settle(3000);
  bus.AddFault(Silence());
  // Three failed polls of 2 x 1 s each, then a little time since its answer.
  zrm::gui::Settle(12000);
  view->findChild<QTableView*>("BusTable")->selectRow(2);
  zrm::gui::Settle(300);
  view->grab().save(out + "/bus-view.png");
  if (QScreen* screen = window.screen())
    screen->grabWindow(0).save(out + "/bus-view-screen.png");
  window.close();
  return 0;
}
