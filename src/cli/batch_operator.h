#pragma once
// The operator of one batch row: nothing is shown while the batch runs. The
// first message a row's command shows becomes the row's message; questions
// are answered as --yes says; the progress lines become the row's current
// step for the live display; Ctrl-C stops every row at its next ESC check.

#include <mutex>
#include <string>
#include <vector>

#include "platform/operator.h"

namespace zrm {

class BatchOperator : public Operator {
 public:
  explicit BatchOperator(bool answer_yes) : answer_yes_(answer_yes) {}

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void SetProgressLines(const ProgressLines& lines) override;
  void ShowProgress() override {}
  void HideProgress() override {}
  void SetProgressCount(int done, int total) override;
  void LockCommands() override {}
  void UnlockCommands() override {}
  bool EscPressed() override;
  void LetMessagesThrough() override {}
  // Kept for the row's lines on stderr.
  void Notice(const std::string& text) override;

  // The first message shown, or empty.
  std::string FirstMessage() const;
  // The step under way, with the exchanges done of the transfer's total.
  std::string Step() const;
  // The notices of the row, in order.
  std::vector<std::string> Notices() const;

 private:
  bool answer_yes_;
  mutable std::mutex mutex_;  // the display reads from another thread
  std::string first_message_;
  std::string step_;
  std::string count_;
  std::vector<std::string> notices_;
};

}  // namespace zrm
