#include "settings/transfer_progress.h"

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

TransferProgress::TransferProgress(Operator& op, ProgressLines lines)
    : op_(op), lines_(std::move(lines)) {}

void TransferProgress::SetLines(const ProgressLines& lines) {
  lines_ = lines;
  op_.SetProgressLines(lines_);
}

void TransferProgress::SetGroup(std::string_view text) {
  lines_[1] = text;
  op_.SetProgressLines(lines_);
}

void TransferProgress::SetStep(std::string_view text) {
  lines_[2] = text;
  op_.SetProgressLines(lines_);
}

void TransferProgress::ClearStep() { lines_[2].clear(); }

void TransferProgress::Show() { op_.ShowProgress(); }

void TransferProgress::Hide() { op_.HideProgress(); }

void TransferProgress::BeforeExchange() { op_.LetMessagesThrough(); }

bool TransferProgress::StopRequested() {
  if (!op_.EscPressed()) return false;
  op_.HideProgress();
  return true;
}

}  // namespace zrm
