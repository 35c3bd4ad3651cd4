#pragma once
// The operator of the command line: message boxes and questions become lines
// on stderr in the core's own texts; the questions of the checks are answered
// by --yes (else No) and the answer is printed under the question; progress
// is one line per step and, below them, a bar redrawn in place, only when
// stderr is a terminal; Ctrl-C is ESC.

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/operator.h"

namespace zrm {

class CliOperator : public Operator {
 public:
  // `err` receives every line; `answer_yes` answers the questions;
  // `show_progress` prints the progress steps.
  CliOperator(std::FILE* err, bool answer_yes, bool show_progress);

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void SetProgressLines(const ProgressLines& lines) override;
  void ShowProgress() override {}
  void HideProgress() override;
  void SetProgressCount(int done, int total) override;
  void LockCommands() override {}
  void UnlockCommands() override {}
  bool EscPressed() override;
  void LetMessagesThrough() override {}
  void Notice(const std::string& text) override { Tell(text); }

  // A line of the command line's own (a file that cannot be used).
  void Tell(const std::string& text);

 private:
  void PrintBox(const std::string& text, const std::string& caption);
  // Prints a whole line above the bar, which is drawn again below it.
  void PrintLine(const std::string& line);
  void DrawBar();
  void EraseBar();

  std::FILE* err_;
  bool answer_yes_;
  bool show_progress_;
  std::string last_step_;  // the progress line printed last
  std::string bar_;        // the bar on the terminal's last line; empty when none
  std::chrono::steady_clock::time_point count_start_;
};

// "[#######-------] 57 из 114, осталось 3 с": a bar of `width` cells for
// `done` of `total` exchanges, then their count and the time left.
std::string ProgressBarLine(int done, int total, double elapsed_seconds, int width);

// Whether progress lines go to stderr: only to a terminal, and not with
// --quiet.
bool ProgressWanted(std::FILE* err, bool quiet);

}  // namespace zrm
