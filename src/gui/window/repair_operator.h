#pragma once
// The Operator of the write that ends an unfinished write ("Дописать",
// "Вернуть как было"): the window's own, except that the question before
// the write names where its values come from (the unfinished write, the
// backup) instead of the editor.

#include <string>
#include <utility>

#include "platform/operator.h"

namespace zrm::gui {

class RepairOperator : public Operator {
 public:
  // Passes everything to `window`, which must outlive this; `heading`
  // replaces the heading of the question that confirms the changes.
  RepairOperator(Operator& window, std::string heading)
      : window_(window), heading_(std::move(heading)) {}

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    window_.ShowMessage(text, caption, icon);
  }
  bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void SetProgressLines(const ProgressLines& lines) override { window_.SetProgressLines(lines); }
  void ShowProgress() override { window_.ShowProgress(); }
  void HideProgress() override { window_.HideProgress(); }
  void SetProgressCount(int done, int total) override { window_.SetProgressCount(done, total); }
  void LockCommands() override { window_.LockCommands(); }
  void UnlockCommands() override { window_.UnlockCommands(); }
  bool EscPressed() override { return window_.EscPressed(); }
  void LetMessagesThrough() override { window_.LetMessagesThrough(); }
  void Notice(const std::string& text) override { window_.Notice(text); }

 private:
  Operator& window_;
  std::string heading_;
};

}  // namespace zrm::gui
