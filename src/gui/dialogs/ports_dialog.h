#pragma once
// The dialog "Порты": the detected serial devices (node, by-id name,
// description, access) and, for each port number 1..4, the device it stands
// for, chosen from them (by-id names first) or typed.

#include <QComboBox>
#include <QDialog>
#include <QTableWidget>
#include <array>

#include "gui/dialogs/connection_dialogs.h"

namespace zrm::gui {

class PortsDialog : public QDialog {
  Q_OBJECT

 public:
  PortsDialog(const std::vector<SerialDevice>& devices, const PortPaths& current,
              QWidget* parent = nullptr);

  // The device path of each port number as the dialog shows it now.
  PortPaths Chosen() const;

 private:
  QTableWidget* devices_;               // DevicesGrid
  std::array<QComboBox*, 4> port_box_;  // PortBox1..PortBox4
};

}  // namespace zrm::gui
