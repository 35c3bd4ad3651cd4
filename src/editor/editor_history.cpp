#include "editor/editor_history.h"

#include <utility>

namespace zrm {

namespace {

// Moves the newest state of `from` into `current`, and `current` onto `to`
// under the same operation; returns the operation's words.
template <typename Steps>
std::optional<std::string> Move(Steps& from, Steps& to, EditorState& current) {
  if (from.empty()) return std::nullopt;
  auto step = std::move(from.back());
  from.pop_back();
  std::swap(step.state, current);
  std::string what = step.what;
  to.push_back(std::move(step));
  return what;
}

}  // namespace

void EditorHistory::Record(const EditorState& before, std::string what) {
  redo_.clear();
  undo_.push_back({before, std::move(what)});
  while (undo_.size() > depth_) undo_.pop_front();
}

std::optional<std::string> EditorHistory::Undo(EditorState& current) {
  return Move(undo_, redo_, current);
}

std::optional<std::string> EditorHistory::Redo(EditorState& current) {
  return Move(redo_, undo_, current);
}

}  // namespace zrm
