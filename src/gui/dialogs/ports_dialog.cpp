#include "gui/dialogs/ports_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "discovery/device_access.h"
#include "discovery/device_description.h"
#include "discovery/discovery_texts.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

// A built-in port is named in Russian alone: its kernel driver ("serial",
// "serial8250") would be the one English word of the list. A USB adapter
// keeps its maker's strings, ids and driver, which tell adapters apart.
std::string DescriptionOf(const SerialDevice& device) {
  return device.usb ? DeviceDescription(device) : discovery_texts::kBuiltinPort;
}

QTableWidget* DeviceTable(const std::vector<SerialDevice>& list) {
  auto* table = new QTableWidget(static_cast<int>(list.size()), 4);
  table->setObjectName("DevicesGrid");
  table->setHorizontalHeaderLabels({ToQ(text::kDeviceColumn), ToQ(text::kByIdColumn),
                                    ToQ(text::kDescriptionColumn), ToQ(text::kAccessColumn)});
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->verticalHeader()->hide();
  for (int row = 0; row < table->rowCount(); ++row) {
    const SerialDevice& device = list[static_cast<std::size_t>(row)];
    const std::string cells[] = {device.path, device.by_id, DescriptionOf(device),
                                 AccessText(device)};
    for (int column = 0; column < 4; ++column)
      table->setItem(row, column, new QTableWidgetItem(ToQ(cells[column])));
  }
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

// The names a port may stand for: each device's stable name first, then its
// node, then what the port holds now.
QComboBox* PortBox(int index, const std::vector<SerialDevice>& list, const std::string& current) {
  auto* box = new QComboBox;
  box->setObjectName(QString("PortBox%1").arg(index + 1));
  box->setEditable(true);
  for (const SerialDevice& device : list) {
    box->addItem(ToQ(device.StableName()));
    box->setItemData(box->count() - 1, ToQ(DescriptionOf(device)), Qt::ToolTipRole);
    if (!device.by_id.empty()) box->addItem(ToQ(device.path));
  }
  box->setCurrentText(ToQ(current));
  return box;
}

}  // namespace

PortsDialog::PortsDialog(const std::vector<SerialDevice>& list, const PortPaths& current,
                         QWidget* parent)
    : QDialog(parent) {
  setObjectName("PortsDialog");
  setWindowTitle(ToQ(text::kPortsCaption));
  auto* layout = new QVBoxLayout(this);
  devices_ = DeviceTable(list);
  if (list.empty()) layout->addWidget(new QLabel(ToQ(text::kNoDevices)));
  layout->addWidget(devices_);
  auto* hint = new QLabel(ToQ(text::kPortsHint));
  hint->setWordWrap(true);
  layout->addWidget(hint);
  auto* ports = new QFormLayout;
  for (int i = 0; i < 4; ++i) {
    port_box_[static_cast<std::size_t>(i)] = PortBox(i, list, current.path[i]);
    ports->addRow(ToQ(text::kPortPrefix) + QString::number(i + 1) + ":",
                  port_box_[static_cast<std::size_t>(i)]);
  }
  layout->addLayout(ports);
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(ToQ(text::kSave), QDialogButtonBox::AcceptRole);
  buttons->addButton(ToQ(text::kCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(1180, 440);
}

PortPaths PortsDialog::Chosen() const {
  PortPaths paths;
  for (std::size_t i = 0; i < 4; ++i) paths.path[i] = FromQ(port_box_[i]->currentText().trimmed());
  return paths;
}

}  // namespace zrm::gui
