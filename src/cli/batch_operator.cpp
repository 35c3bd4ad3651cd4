#include "cli/batch_operator.h"

#include "cli/cli_texts.h"
#include "cli/interrupt_as_esc.h"

namespace zrm {

void BatchOperator::ShowMessage(const std::string& text, const std::string&, MessageIcon) {
  std::lock_guard lock(mutex_);
  if (first_message_.empty()) first_message_ = text;
}

bool BatchOperator::AskYesNo(const std::string& text, const std::string&, MessageIcon) {
  std::lock_guard lock(mutex_);
  if (first_message_.empty() && !answer_yes_) first_message_ = text;
  return answer_yes_;
}

void BatchOperator::SetProgressLines(const ProgressLines& lines) {
  std::string step = lines[1];
  if (!lines[1].empty() && !lines[2].empty()) step += cli_texts::kProgressSeparator;
  step += lines[2];
  std::lock_guard lock(mutex_);
  step_ = step;
}

void BatchOperator::SetProgressCount(int done, int total) {
  std::lock_guard lock(mutex_);
  count_ = std::to_string(done) + "/" + std::to_string(total);
}

bool BatchOperator::EscPressed() { return InterruptPending(); }

void BatchOperator::Notice(const std::string& text) {
  std::lock_guard lock(mutex_);
  notices_.push_back(text);
}

std::vector<std::string> BatchOperator::Notices() const {
  std::lock_guard lock(mutex_);
  return notices_;
}

std::string BatchOperator::FirstMessage() const {
  std::lock_guard lock(mutex_);
  return first_message_;
}

std::string BatchOperator::Step() const {
  std::lock_guard lock(mutex_);
  return count_.empty() ? step_ : "[" + count_ + "] " + step_;
}

}  // namespace zrm
