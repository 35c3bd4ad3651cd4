#include "cli/cli_operator.h"

#include <unistd.h>

#include "cli/cli_texts.h"
#include "cli/interrupt_as_esc.h"

namespace zrm {

CliOperator::CliOperator(std::FILE* err, bool answer_yes, bool show_progress)
    : err_(err), answer_yes_(answer_yes), show_progress_(show_progress) {}

void CliOperator::ShowMessage(const std::string& text, const std::string& caption, MessageIcon) {
  PrintBox(text, caption);
}

bool CliOperator::AskYesNo(const std::string& text, const std::string& caption, MessageIcon) {
  PrintBox(text, caption);
  std::fprintf(err_, "%s%s\n", cli_texts::kAnswerPrefix,
               answer_yes_ ? cli_texts::kYes : cli_texts::kNo);
  std::fflush(err_);
  return answer_yes_;
}

void CliOperator::SetProgressLines(const ProgressLines& lines) {
  if (!show_progress_) return;
  // Line 2 names the group, line 3 the step; one stderr line per new step.
  std::string step = lines[1];
  if (!lines[1].empty() && !lines[2].empty()) step += cli_texts::kProgressSeparator;
  step += lines[2];
  if (step.empty() || step == last_step_) return;
  last_step_ = step;
  std::fprintf(err_, "%s\n", step.c_str());
  std::fflush(err_);
}

bool CliOperator::EscPressed() { return TakeInterrupt(); }

void CliOperator::Tell(const std::string& text) { PrintBox(text, {}); }

void CliOperator::PrintBox(const std::string& text, const std::string& caption) {
  if (caption.empty())
    std::fprintf(err_, "%s\n", text.c_str());
  else
    std::fprintf(err_, "%s%s%s\n", caption.c_str(), cli_texts::kCaptionSeparator, text.c_str());
  std::fflush(err_);
}

bool ProgressWanted(std::FILE* err, bool quiet) { return !quiet && isatty(fileno(err)) == 1; }

}  // namespace zrm
