#pragma once
// The operator of a write no person watches: it shows nothing, sees no ESC,
// answers every question No, and keeps the first message or question as the
// write's refusal, so that a value the checks would question is refused with
// their words and nothing is sent.

#include <string>

#include "platform/silent_operator.h"

namespace zrm {

class BusWriteOperator : public SilentOperator {
 public:
  BusWriteOperator() : SilentOperator(false) {}

  void ShowMessage(const std::string& text, const std::string&, MessageIcon) override {
    Keep(text);
  }
  bool AskYesNo(const std::string& text, const std::string&, MessageIcon) override {
    Keep(text);
    return false;
  }

  // The first message or question; empty when none came.
  const std::string& FirstText() const { return first_text_; }

 private:
  void Keep(const std::string& text) {
    if (first_text_.empty()) first_text_ = text;
  }

  std::string first_text_;
};

}  // namespace zrm
