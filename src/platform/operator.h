#pragma once
// The boundary between the core and the person at the screen. The core never
// shows anything itself: wherever it reports, asks, shows progress or looks
// at the ESC key, it calls an Operator. The window implements it with Qt, the
// command line with stderr and --yes, tests with a scripted recorder.

#include <array>
#include <string>

namespace zrm {

// Icon of a message box or question.
enum class MessageIcon { kError, kWarning, kInformation, kQuestion };

// The six lines of the progress panel, top to bottom.
using ProgressLines = std::array<std::string, 6>;

class Operator {
 public:
  virtual ~Operator() = default;

  // Modal message box with an OK button.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;

  // Modal Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) = 0;

  // Replaces all six lines of the progress panel at once.
  virtual void SetProgressLines(const ProgressLines& lines) = 0;
  virtual void ShowProgress() = 0;
  virtual void HideProgress() = 0;

  // How far the transfer under way is: `done` of its `total` parameter
  // exchanges, (0, total) at its start. Shown beside the progress lines by
  // those who can; the lines alone are enough for the rest.
  virtual void SetProgressCount(int /*done*/, int /*total*/) {}

  // Disables / enables the command controls while a sequence runs.
  virtual void LockCommands() = 0;
  virtual void UnlockCommands() = 0;

  // True when ESC was pressed since the previous query; asking clears it.
  virtual bool EscPressed() = 0;

  // Lets the user interface process what is pending (repaint, key presses)
  // between two exchanges of a sequence.
  virtual void LetMessagesThrough() = 0;

  // A remark that asks nothing and must not hold the sequence up (an
  // unfinished earlier write into the instrument): the command line prints
  // it; the window has its own reminder and passes it over.
  virtual void Notice(const std::string& /*text*/) {}
};

}  // namespace zrm
