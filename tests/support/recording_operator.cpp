#include "support/recording_operator.h"

namespace zrm::test {

namespace {
const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return "error";
    case MessageIcon::kWarning: return "warning";
    case MessageIcon::kInformation: return "information";
    case MessageIcon::kQuestion: return "question";
  }
  return "?";
}
}  // namespace

void RecordingOperator::ShowMessage(const std::string& text, const std::string& caption,
                                    MessageIcon icon) {
  calls.push_back("message|" + caption + "|" + text + "|" + IconName(icon));
}

bool RecordingOperator::AskYesNo(const std::string& text, const std::string& caption,
                                 MessageIcon icon) {
  bool answer = default_answer;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  calls.push_back("ask|" + caption + "|" + text + "|" + IconName(icon) + "|" +
                  (answer ? "yes" : "no"));
  return answer;
}

void RecordingOperator::SetProgressLines(const ProgressLines& l) {
  lines = l;
  std::string call = "lines";
  for (const auto& line : l) call += "|" + line;
  calls.push_back(call);
}

void RecordingOperator::ShowProgress() {
  progress_visible = true;
  calls.push_back("show");
}

void RecordingOperator::HideProgress() {
  progress_visible = false;
  calls.push_back("hide");
}

void RecordingOperator::LockCommands() {
  locked = true;
  calls.push_back("lock");
}

void RecordingOperator::UnlockCommands() {
  locked = false;
  calls.push_back("unlock");
}

bool RecordingOperator::EscPressed() {
  bool pressed = false;
  if (!esc.empty()) {
    pressed = esc.front();
    esc.pop_front();
  }
  calls.push_back(std::string("esc|") + (pressed ? "1" : "0"));
  return pressed;
}

void RecordingOperator::LetMessagesThrough() {
  calls.push_back("through");
  if (on_through) on_through();
}

std::vector<std::string> RecordingOperator::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const auto& c : calls)
    if (c.rfind(prefix, 0) == 0) out.push_back(c);
  return out;
}

std::vector<std::string> RecordingOperator::Messages() const {
  std::vector<std::string> out;
  for (const auto& c : calls)
    if (c.rfind("message|", 0) == 0) out.push_back(c);
  return out;
}

}  // namespace zrm::test
