#include "gui/window/connection_menu.h"

#include <QMenu>
#include <memory>
#include <optional>

#include "app/unmapped_adapters.h"
#include "discovery/device_description.h"
#include "discovery/udev_serial_devices.h"
#include "gui/bus_view/bus_view_texts.h"
#include "gui/texts/qt_text.h"
#include "gui/window/status_texts.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

ConnectionMenu::ConnectionMenu(QMenuBar& bar, QStatusBar& status_bar, QComboBox& port_selector,
                               Session& session, GuiOperator& op, DeviceJobRunner& runner,
                               QWidget* window)
    : QObject(window),
      port_selector_(port_selector),
      session_(session),
      op_(op),
      runner_(runner),
      window_(window),
      dialogs_(std::make_unique<QtConnectionDialogs>()) {
  menu_ = bar.addMenu(ToQ(text::kConnectionMenu));
  menu_->setObjectName("ConnectionMenu");
  QAction* ports_item = menu_->addAction(ToQ(text::kPortsItem));
  ports_item->setObjectName("PortsItem");
  QAction* find_item = menu_->addAction(ToQ(text::kFindItem));
  find_item->setObjectName("FindItem");
  QAction* bus_view_item = menu_->addAction(ToQ(bus_text::kMenuItem));
  bus_view_item->setObjectName("BusViewItem");
  connect(ports_item, &QAction::triggered, this, &ConnectionMenu::OnPorts);
  connect(bus_view_item, &QAction::triggered, this, &ConnectionMenu::BusViewAsked);
  connect(find_item, &QAction::triggered, this, &ConnectionMenu::OnFindInstrument);
  new HotPlugWatch([this](const DeviceEvent& event) { HotPlugNews(event); }, this);
  adapter_note_ = new QLabel;
  adapter_note_->setObjectName("AdapterNote");
  status_bar.addPermanentWidget(adapter_note_);
}

void ConnectionMenu::ShowPortDevices() {
  for (int i = 0; i < port_selector_.count() && i < 4; ++i)
    port_selector_.setItemData(i, ToQ(session_.Config().port_paths[i]), Qt::ToolTipRole);
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

void ConnectionMenu::OnPorts() {
  PortPaths current;
  for (std::size_t i = 0; i < 4; ++i) current.path[i] = session_.Config().port_paths[i];
  const std::optional<PortPaths> chosen =
      dialogs_->EditPorts(window_, ListSerialDevices(), current);
  if (!chosen) return;
  // Opening the port again is a port change: it runs on the link thread.
  const PortPaths paths = *chosen;
  runner_.Run(
      [this, paths](EditorForm&, DeviceSettings&) {
        const bool saved = session_.UsePortPaths(paths.path, op_);
        return ToQ(saved ? text::kPortsSaved : text::kPortsNotSaved);
      },
      DeviceJobRunner::JobKind::kPortChange, [this] { ShowPortDevices(); });
}

void ConnectionMenu::OnFindInstrument() {
  const std::optional<SearchPlan> plan = dialogs_->AskSearchPlan(window_);
  if (!plan) return;
  auto outcome = std::make_shared<SearchOutcome>();
  runner_.Run(
      [this, plan, outcome](EditorForm&, DeviceSettings&) {
        *outcome = session_.SearchInstruments(*plan, op_);
        return SearchStatus(*outcome);
      },
      DeviceJobRunner::JobKind::kKeepsEditor,
      [this, outcome] {
        emit SearchEnded();
        UseFoundInstrument(*outcome);
      });
}

void ConnectionMenu::UseFoundInstrument(const SearchOutcome& outcome) {
  for (const FoundInstrument& found : outcome.found)
    if (found.identified) emit InstrumentIdentified(FoundIdentity(found));
  const std::optional<std::size_t> chosen = dialogs_->ChooseFound(window_, outcome);
  if (!chosen || *chosen >= outcome.found.size()) return;
  const FoundInstrument found = outcome.found[*chosen];
  runner_.Run(
      [this, found](EditorForm&, DeviceSettings&) {
        session_.UseInstrument(found.speed, found.address, op_);
        return ToQ(text::kInstrumentUsed) + QString::number(found.address) + ToQ(text::kAtSpeed) +
               QString::number(found.speed);
      },
      DeviceJobRunner::JobKind::kPortChange);
}

void ConnectionMenu::HotPlugNews(const DeviceEvent& event) {
  ShowPortDevices();
  const std::string path = session_.PortPath();
  if (!event.Names(path) || runner_.HasShutDown()) return;
  if (!event.arrived) {
    emit PortNews(ToQ(text::kDeviceLeft) + ToQ(path));
    return;
  }
  // The news goes to its own part: the outcome of the last command stays.
  auto opened = std::make_shared<bool>(false);
  runner_.Run(
      [this, opened](EditorForm&, DeviceSettings&) {
        *opened = session_.OpenPortAgain(op_);
        return QString();
      },
      DeviceJobRunner::JobKind::kPortChange,
      [this, opened, path] {
        if (*opened) emit PortNews(ToQ(text::kDeviceBack) + ToQ(path));
      });
}

}  // namespace zrm::gui
