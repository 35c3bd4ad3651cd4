#pragma once
// The operator of a write no person watches: it shows nothing, sees no ESC,
// answers every question No, and keeps the first message or question as the
// write's refusal, so that a value the checks would question is refused with
// their words and nothing is sent.

#include <string>

#include "platform/operator.h"

namespace zrm {

class BusWriteOperator : public Operator {
 public:
  void ShowMessage(const std::string& text, const std::string&, MessageIcon) override {
    Keep(text);
  }
  bool AskYesNo(const std::string& text, const std::string&, MessageIcon) override {
    Keep(text);
    return false;
  }
  void SetProgressLines(const ProgressLines&) override {}
  void ShowProgress() override {}
  void HideProgress() override {}
  void LockCommands() override {}
  void UnlockCommands() override {}
  bool EscPressed() override { return false; }
  void LetMessagesThrough() override {}

  // The first message or question; empty when none came.
  const std::string& FirstText() const { return first_text_; }

 private:
  void Keep(const std::string& text) {
    if (first_text_.empty()) first_text_ = text;
  }

  std::string first_text_;
};

}  // namespace zrm
