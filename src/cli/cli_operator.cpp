#include "cli/cli_operator.h"

#include <unistd.h>

#include <algorithm>

#include "cli/cli_texts.h"
#include "cli/interrupt_as_esc.h"
#include "settings/transfer_progress.h"

namespace zrm {

namespace {
constexpr int kBarWidth = 30;
// Back to the start of the line and clear it.
constexpr const char* kEraseLine = "\r\033[K";
}  // namespace

CliOperator::CliOperator(std::FILE* err, bool answer_yes, bool show_progress)
    : err_(err), answer_yes_(answer_yes), show_progress_(show_progress) {}

void CliOperator::ShowMessage(const std::string& text, const std::string& caption, MessageIcon) {
  PrintBox(text, caption);
}

bool CliOperator::AskYesNo(const std::string& text, const std::string& caption, MessageIcon) {
  PrintBox(text, caption);
  PrintLine(std::string(cli_texts::kAnswerPrefix) + (answer_yes_ ? cli_texts::kYes : cli_texts::kNo));
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
  PrintLine(step);
}

void CliOperator::HideProgress() { EraseBar(); }

void CliOperator::SetProgressCount(int done, int total) {
  if (!show_progress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (done == 0) count_start_ = now;
  const std::chrono::duration<double> elapsed = now - count_start_;
  bar_ = ProgressBarLine(done, total, elapsed.count(), kBarWidth);
  DrawBar();
  if (done < total) return;
  // The finished bar stays as the transfer's last line.
  std::fputs("\n", err_);
  std::fflush(err_);
  bar_.clear();
}

bool CliOperator::EscPressed() { return TakeInterrupt(); }

void CliOperator::Tell(const std::string& text) { PrintBox(text, {}); }

void CliOperator::PrintBox(const std::string& text, const std::string& caption) {
  PrintLine(caption.empty() ? text : caption + cli_texts::kCaptionSeparator + text);
}

void CliOperator::PrintLine(const std::string& line) {
  if (!bar_.empty()) std::fputs(kEraseLine, err_);
  std::fprintf(err_, "%s\n", line.c_str());
  if (!bar_.empty()) std::fputs(bar_.c_str(), err_);
  std::fflush(err_);
}

void CliOperator::DrawBar() {
  std::fprintf(err_, "%s%s", kEraseLine, bar_.c_str());
  std::fflush(err_);
}

void CliOperator::EraseBar() {
  if (bar_.empty()) return;
  std::fputs(kEraseLine, err_);
  std::fflush(err_);
  bar_.clear();
}

std::string ProgressBarLine(int done, int total, double elapsed_seconds, int width) {
  const int filled = total > 0 ? std::clamp(done, 0, total) * width / total : 0;
  std::string line = "[";
  line.append(static_cast<std::size_t>(filled), '#');
  line.append(static_cast<std::size_t>(width - filled), '-');
  line += "] ";
  line += ProgressCountText(done, total, elapsed_seconds);
  return line;
}

bool ProgressWanted(std::FILE* err, bool quiet) { return !quiet && isatty(fileno(err)) == 1; }

}  // namespace zrm
