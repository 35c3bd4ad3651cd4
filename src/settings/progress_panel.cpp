#include "settings/progress_panel.h"

#include <cmath>
#include <utility>

namespace zrm {

ProgressLines PanelLines(std::string_view title, std::string_view group, std::string_view hint) {
  ProgressLines lines;
  lines[0] = title;
  lines[1] = group;
  lines[5] = hint;
  return lines;
}

std::string ProgressCountText(int done, int total, double elapsed_seconds) {
  std::string text = std::to_string(done);
  text += kProgressCountOf;
  text += std::to_string(total);
  if (done <= 0 || done >= total) return text;
  const double left = elapsed_seconds * (total - done) / done;
  text += kProgressTimeLeft;
  text += std::to_string(static_cast<long long>(std::ceil(left)));
  text += kProgressSeconds;
  return text;
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
