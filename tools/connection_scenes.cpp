// zrm48connection_scenes OUTDIR: the window's menu "Связь" against a bus of
// three emulated instruments (addresses 3, 7, 12 at 19200 bit/s) on port 1,
// saved as OUTDIR/<scene>.png: the dialog "Порты" with the devices udev
// reports (run it under umockdev-run to show recorded adapters), a search in
// progress, and its result. Message boxes go to stderr.

#include <QApplication>
#include <filesystem>

#include "app/session.h"
#include "discovery/udev_serial_devices.h"
#include "gui/window/main_window.h"
#include "gui/dialogs/ports_dialog.h"
#include "gui/dialogs/search_dialogs.h"
#include "tools/scene_support.h"
#include "tools/stderr_dialogs.h"
#include "lib/bus_options.h"

namespace {

// The search's dialogs answered for the pictures: the default plan, and the
// result list grabbed before it is closed.
struct PictureDialogs : zrm::gui::ConnectionDialogs {
  QString out;
  std::optional<zrm::gui::PortPaths> EditPorts(QWidget*, const std::vector<zrm::SerialDevice>&,
                                               const zrm::gui::PortPaths&) override {
    return std::nullopt;
  }
  std::optional<zrm::SearchPlan> AskSearchPlan(QWidget*) override { return zrm::SearchPlan{}; }
  std::optional<std::size_t> ChooseFound(QWidget* parent,
                                         const zrm::SearchOutcome& outcome) override {
    zrm::gui::FoundDialog dialog(outcome, parent);
    dialog.show();
    zrm::gui::Settle(300);
    dialog.grab().save(out + "/search-result.png");
    return std::nullopt;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = zrm::gui::SceneOutputFolder(argc, argv, "zrm48connection_scenes");
  if (out.isEmpty()) return 2;
  zrm::sim::Simulator bus(zrm::sim::BusOptions({3, 7, 12}, 19200));
  if (!zrm::gui::ServeOnPortOne(bus)) return 1;

  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::StderrDialogs dialogs(true);
  zrm::gui::MainWindow window(session, dialogs);
  auto pictures = std::make_unique<PictureDialogs>();
  pictures->out = out;
  window.SetConnectionDialogs(std::move(pictures));
  window.show();
  zrm::gui::Settle(600);

  zrm::gui::PortPaths current;
  for (std::size_t i = 0; i < 4; ++i) current.path[i] = session.Config().port_paths[i];
  zrm::gui::PortsDialog ports(zrm::ListSerialDevices(), current, &window);
  ports.show();
  zrm::gui::Settle(300);
  ports.grab().save(out + "/ports-dialog.png");
  ports.close();

  window.findChild<QAction*>("FindItem")->trigger();
  zrm::gui::Settle(10500);  // past 19200 bit/s, where the three answer
  window.grab().save(out + "/search-progress.png");
  while (window.Busy()) zrm::gui::Settle(100);
  zrm::gui::Settle(800);
  window.close();
  return 0;
}
