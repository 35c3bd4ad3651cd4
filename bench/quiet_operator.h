#pragma once
// An Operator that shows nothing and never presses ESC: the benchmarks time
// the transfers, not a user interface.

#include "platform/operator.h"

namespace zrm::bench {

class QuietOperator : public Operator {
 public:
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
  bool AskYesNo(const std::string&, const std::string&, MessageIcon) override { return true; }
  void SetProgressLines(const ProgressLines&) override {}
  void ShowProgress() override {}
  void HideProgress() override {}
  void LockCommands() override {}
  void UnlockCommands() override {}
  bool EscPressed() override { return false; }
  void LetMessagesThrough() override {}
};

}  // namespace zrm::bench
