#pragma once
// Undo and redo over whole editor states: the form and the record as they
// were before a read from the instrument or a profile replaced them. Kept
// for the session only, a bounded number of steps deep.

#include <cstddef>
#include <deque>

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

  // `before` was replaced by an operation: it becomes the state Undo brings
  // back, and whatever could be redone is forgotten. The oldest step gives
  // way beyond the depth.
  void Record(const EditorState& before);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

  // Puts the state before the last recorded operation into `current`,
  // keeping `current` for Redo. False (and nothing changes) when there is
  // nothing to undo.
  bool Undo(EditorState& current);
  // Takes back the last Undo, keeping `current` for Undo. False when there
  // is nothing to redo.
  bool Redo(EditorState& current);

 private:
  std::size_t depth_;
  std::deque<EditorState> undo_;  // newest last
  std::deque<EditorState> redo_;  // newest last
};

}  // namespace zrm
