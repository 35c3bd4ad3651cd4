#include "settings/progress_panel.h"

#include <utility>

namespace zrm {

ProgressLines PanelLines(std::string_view title, std::string_view group, std::string_view hint) {
  ProgressLines lines;
  lines[0] = title;
  lines[1] = group;
  lines[5] = hint;
  return lines;
}

ProgressPanel::ProgressPanel(Operator& op, ProgressLines lines)
    : op_(op), lines_(std::move(lines)) {}

void ProgressPanel::SetLines(const ProgressLines& lines) {
  lines_ = lines;
  op_.SetProgressLines(lines_);
}

void ProgressPanel::SetGroup(std::string_view text) {
  lines_[1] = text;
  op_.SetProgressLines(lines_);
}

void ProgressPanel::SetStep(std::string_view text) {
  lines_[2] = text;
  op_.SetProgressLines(lines_);
}

void ProgressPanel::ClearStep() { lines_[2].clear(); }

void ProgressPanel::Show() { op_.ShowProgress(); }

void ProgressPanel::Hide() { op_.HideProgress(); }

void ProgressPanel::BeforeExchange() { op_.LetMessagesThrough(); }

bool ProgressPanel::StopRequested() {
  if (!op_.EscPressed()) return false;
  op_.HideProgress();
  return true;
}

}  // namespace zrm
