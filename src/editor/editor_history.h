#pragma once
// Undo and redo over whole editor states: the form and the record as they
// were before an operation changed them (a read from the instrument, an
// open profile, the edit of one field), each step with the words that name
// its operation, so the window can say what an undo undid. Kept for the
// session only, a bounded number of steps deep.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "editor/editor_form.h"
#include "settings/device_settings.h"

namespace zrm {

struct EditorState {
  EditorForm form;
  DeviceSettings settings;
};

inline constexpr std::size_t kEditorHistoryDepth = 50;

class EditorHistory {
 public:
  explicit EditorHistory(std::size_t depth = kEditorHistoryDepth) : depth_(depth) {}

  // `before` was replaced by the operation `what`: it becomes the state Undo
  // brings back, and whatever could be redone is forgotten. The oldest step
  // gives way beyond the depth.
  void Record(const EditorState& before, std::string what);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

  // Puts the state before the last recorded operation into `current`,
  // keeping `current` for Redo; returns the operation's words. Nothing (and
  // nothing changes) when there is nothing to undo.
  std::optional<std::string> Undo(EditorState& current);
  // Takes back the last Undo, keeping `current` for Undo; returns the words
  // of the operation done again. Nothing when there is nothing to redo.
  std::optional<std::string> Redo(EditorState& current);

 private:
  struct Step {
    EditorState state;  // the state on the other side of the operation
    std::string what;   // the operation's words
  };

  std::size_t depth_;
  std::deque<Step> undo_;  // newest last
  std::deque<Step> redo_;  // newest last
};

}  // namespace zrm
