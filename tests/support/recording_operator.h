#pragma once
// A scripted Operator for tests: records every call in order as one text
// line, answers questions from a script, and presses ESC on request.

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/operator.h"

namespace zrm::test {

class RecordingOperator : public Operator {
 public:
  // Every call, e.g. "message|caption|text", "ask|caption|text|yes",
  // "lines|l1|l2|l3|l4|l5|l6", "show", "hide", "lock", "unlock", "esc|0",
  // "through", "notice|text".
  std::vector<std::string> calls;

  // Answers of AskYesNo in order; when empty, `default_answer`.
  std::deque<bool> answers;
  bool default_answer = false;

  // ESC answers of EscPressed in order; when empty, false.
  std::deque<bool> esc;

  // Called at each LetMessagesThrough (e.g. to press ESC at a chosen step).
  std::function<void()> on_through;

  ProgressLines lines;
  // Every SetProgressCount as (done, total), kept apart from `calls`.
  std::vector<std::pair<int, int>> counts;
  bool progress_visible = false;
  bool locked = false;

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void SetProgressLines(const ProgressLines& l) override;
  void ShowProgress() override;
  void HideProgress() override;
  void SetProgressCount(int done, int total) override { counts.emplace_back(done, total); }
  void LockCommands() override;
  void UnlockCommands() override;
  bool EscPressed() override;
  void LetMessagesThrough() override;
  void Notice(const std::string& text) override { calls.push_back("notice|" + text); }

  // The calls that start with `prefix`.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  // Texts of the messages shown, in order.
  std::vector<std::string> Messages() const;
};

}  // namespace zrm::test
