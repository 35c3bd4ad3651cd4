#pragma once
// The page "Настройки реле": the set point header grid StringGrid2, the relay
// assignment grid StringGrid1 and the regulator's two lists, on the group
// area Panel77.

#include <QComboBox>
#include <QFrame>

#include "editor/editor_form.h"
#include "gui/string_grid.h"

namespace zrm::gui {

class RelayPage : public QWidget {
  Q_OBJECT

 public:
  explicit RelayPage(QWidget* parent = nullptr);

  void Show(const EditorForm& form);
  void Collect(EditorForm& form) const;
  // Only the assignment grid, for the click handler.
  void ShowRelayGrid(const RelayGrid& grid);
  void CollectRelayGrid(RelayGrid& grid) const;

  QFrame* area;              // Panel77
  StringGrid* setpoint_grid;  // StringGrid2
  StringGrid* relay_grid;     // StringGrid1
  QComboBox* reg_int;         // ComboBox15
  QComboBox* pulse_int;       // ComboBox16
};

}  // namespace zrm::gui
