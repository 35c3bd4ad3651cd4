#include "gui/window/repair_operator.h"

#include <string_view>

#include "app/app_texts.h"

namespace zrm::gui {

bool RepairOperator::AskYesNo(const std::string& text, const std::string& caption,
                              MessageIcon icon) {
  const std::string_view confirm = app_texts::kConfirmChanges;
  if (!text.starts_with(confirm)) return window_.AskYesNo(text, caption, icon);
  return window_.AskYesNo(heading_ + text.substr(confirm.size()), caption, icon);
}

}  // namespace zrm::gui
