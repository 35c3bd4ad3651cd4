#pragma once
// The page "Настройки реле": the set point header grid StringGrid2, the relay
// assignment grid StringGrid1 and the regulator's two lists, on the group
// area Panel77.

#include <QComboBox>
#include <QFrame>

#include "editor/editor_form.h"
#include "gui/widgets/string_grid.h"

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

  // The group area, painted white while the relay group is switched on, and
  // the assignment grid whose clicks the window handles.
  QFrame* Area() const { return area_; }
  StringGrid* AssignmentGrid() const { return relay_grid_; }

 private:
  QFrame* area_;               // Panel77
  StringGrid* setpoint_grid_;  // StringGrid2
  StringGrid* relay_grid_;     // StringGrid1
  QComboBox* reg_int_;         // ComboBox15
  QComboBox* pulse_int_;       // ComboBox16
};

}  // namespace zrm::gui
