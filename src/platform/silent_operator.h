#pragma once
// An Operator that shows nothing, never sees ESC and gives every question
// one fixed answer: for runs no person watches, such as counting a
// transfer's exchanges beforehand or timing the transfers.

#include "platform/operator.h"

namespace zrm {

class SilentOperator : public Operator {
 public:
  explicit SilentOperator(bool answer) : answer_(answer) {}

  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
  bool AskYesNo(const std::string&, const std::string&, MessageIcon) override { return answer_; }
  void SetProgressLines(const ProgressLines&) override {}
  void ShowProgress() override {}
  void HideProgress() override {}
  void LockCommands() override {}
  void UnlockCommands() override {}
  bool EscPressed() override { return false; }
  void LetMessagesThrough() override {}

 private:
  bool answer_;
};

}  // namespace zrm
