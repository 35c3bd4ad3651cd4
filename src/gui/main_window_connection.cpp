// The window's menu "Связь": the port assignment, the instrument search, the
// port selector's device paths and the note about an adapter that no port
// number stands for.

#include <QMenuBar>
#include <QStatusBar>

#include "app/unmapped_adapters.h"
#include "discovery/device_description.h"
#include "discovery/udev_serial_devices.h"
#include "gui/job_end.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/window_texts.h"

namespace zrm::gui {

void MainWindow::BuildConnectionMenu() {
  connection_dialogs_ = std::make_unique<QtConnectionDialogs>();
  connection_menu_ = menuBar()->addMenu(ToQ(text::kConnectionMenu));
  connection_menu_->setObjectName("ConnectionMenu");
  ports_item_ = connection_menu_->addAction(ToQ(text::kPortsItem));
  ports_item_->setObjectName("PortsItem");
  find_item_ = connection_menu_->addAction(ToQ(text::kFindItem));
  find_item_->setObjectName("FindItem");
  connect(ports_item_, &QAction::triggered, this, &MainWindow::OnPorts);
  connect(find_item_, &QAction::triggered, this, &MainWindow::OnFindInstrument);
  hot_plug_ = new HotPlugWatch([this](const DeviceEvent& event) { HotPlugNews(event); }, this);
  adapter_note_ = new QLabel;
  adapter_note_->setObjectName("AdapterNote");
  statusBar()->addPermanentWidget(adapter_note_);
}

void MainWindow::SetConnectionDialogs(std::unique_ptr<ConnectionDialogs> dialogs) {
  connection_dialogs_ = std::move(dialogs);
}

void MainWindow::ShowPortDevices() {
  for (int i = 0; i < top_->PortSelector()->count() && i < 4; ++i)
    top_->PortSelector()->setItemData(i, ToQ(session_.Config().port_paths[i]), Qt::ToolTipRole);
  const std::vector<SerialDevice> unmapped =
      UnmappedAdapters(ListSerialDevices(), session_.Config());
  QStringList paths;
  QStringList descriptions;
  for (const SerialDevice& device : unmapped) {
    paths << ToQ(device.path);
    descriptions << ToQ(device.path) + ": " + ToQ(DeviceDescription(device));
  }
  QString note;
  if (!paths.isEmpty())
    note = ToQ(text::kUnmappedAdapter) + paths.join(", ") + ToQ(text::kUnmappedHint);
  adapter_note_->setText(note);
  adapter_note_->setToolTip(descriptions.join("\n"));
  adapter_note_->setVisible(!note.isEmpty());
}

void MainWindow::OnPorts() {
  PortPaths current;
  for (std::size_t i = 0; i < 4; ++i) current.path[i] = session_.Config().port_paths[i];
  const std::optional<PortPaths> chosen =
      connection_dialogs_->EditPorts(this, ListSerialDevices(), current);
  if (!chosen) return;
  // Opening the port again is a port change: it runs on the link thread.
  const PortPaths paths = *chosen;
  auto end = std::make_shared<JobEnd>();
  RunDeviceJob(
      [this, paths, end](EditorForm&, DeviceSettings&) {
        const bool saved = session_.UsePortPaths(paths.path, operator_);
        MarkJobEnded(this, end);
        return saved ? ToQ(text::kPortsSaved) : QString();
      },
      JobKind::kPortChange);
  WhenJobEnds(worker_, this, end, [this] { ShowPortDevices(); });
}

void MainWindow::OnFindInstrument() {
  const std::optional<SearchPlan> plan = connection_dialogs_->AskSearchPlan(this);
  if (!plan) return;
  auto outcome = std::make_shared<SearchOutcome>();
  auto end = std::make_shared<JobEnd>();
  RunDeviceJob(
      [this, plan, outcome, end](EditorForm&, DeviceSettings&) {
        *outcome = session_.SearchInstruments(*plan, operator_);
        MarkJobEnded(this, end);
        return ToQ(text::kSearchDone) + QString::number(outcome->found.size());
      },
      JobKind::kKeepsEditor);
  WhenJobEnds(worker_, this, end, [this, outcome] {
    if (!shut_down_) UseFoundInstrument(*outcome);
  });
}

void MainWindow::UseFoundInstrument(const SearchOutcome& outcome) {
  const std::optional<std::size_t> chosen = connection_dialogs_->ChooseFound(this, outcome);
  if (!chosen || *chosen >= outcome.found.size()) return;
  const FoundInstrument found = outcome.found[*chosen];
  RunDeviceJob(
      [this, found](EditorForm&, DeviceSettings&) {
        session_.UseInstrument(found.speed, found.address, operator_);
        return ToQ(text::kInstrumentUsed) + QString::number(found.address) + ToQ(text::kAtSpeed) +
               QString::number(found.speed);
      },
      JobKind::kPortChange);
}

void MainWindow::HotPlugNews(const DeviceEvent& event) {
  ShowPortDevices();
  const std::string path = session_.PortPath();
  if (!event.Names(path) || shut_down_) return;
  if (!event.arrived) {
    ShowOutcome(ToQ(text::kDeviceLeft) + ToQ(path));
    return;
  }
  RunDeviceJob(
      [this, path](EditorForm&, DeviceSettings&) {
        return session_.OpenPortAgain(operator_) ? ToQ(text::kDeviceBack) + ToQ(path) : QString();
      },
      JobKind::kPortChange);
}

}  // namespace zrm::gui
