#include "editor/editor_history.h"

#include <utility>

namespace zrm {

namespace {

// Moves the newest state of `from` into `current`, and `current` onto `to`.
bool Step(std::deque<EditorState>& from, std::deque<EditorState>& to, EditorState& current) {
  if (from.empty()) return false;
  to.push_back(std::exchange(current, std::move(from.back())));
  from.pop_back();
  return true;
}

}  // namespace

void EditorHistory::Record(const EditorState& before) {
  redo_.clear();
  undo_.push_back(before);
  while (undo_.size() > depth_) undo_.pop_front();
}

bool EditorHistory::Undo(EditorState& current) { return Step(undo_, redo_, current); }

bool EditorHistory::Redo(EditorState& current) { return Step(redo_, undo_, current); }

}  // namespace zrm
