#include "gui/dialogs/connection_dialogs.h"

#include "gui/dialogs/ports_dialog.h"
#include "gui/dialogs/search_dialogs.h"

namespace zrm::gui {

std::optional<PortPaths> QtConnectionDialogs::EditPorts(QWidget* parent,
                                                        const std::vector<SerialDevice>& devices,
                                                        const PortPaths& current) {
  PortsDialog dialog(devices, current, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

std::optional<SearchPlan> QtConnectionDialogs::AskSearchPlan(QWidget* parent) {
  SearchPlanDialog dialog(parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Plan();
}

std::optional<std::size_t> QtConnectionDialogs::ChooseFound(QWidget* parent,
                                                            const SearchOutcome& outcome) {
  FoundDialog dialog(outcome, parent);
  if (dialog.exec() != QDialog::Accepted || dialog.ChosenRow() < 0) return std::nullopt;
  return static_cast<std::size_t>(dialog.ChosenRow());
}

}  // namespace zrm::gui
