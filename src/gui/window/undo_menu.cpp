#include "gui/window/undo_menu.h"

#include <QKeyEvent>
#include <QMenu>
#include <utility>

#include "gui/window/edit_step_words.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

UndoMenu::UndoMenu(QMenuBar& bar, EditorForm& form, DeviceSettings& settings, EditorView& view,
                   QObject* parent)
    : QObject(parent), form_(form), settings_(settings), view_(view) {
  QMenu* menu = bar.addMenu(ToQ(text::kEditMenu));
  menu->setObjectName("EditMenu");
  undo_ = menu->addAction(ToQ(text::kUndoItem));
  undo_->setObjectName("UndoItem");
  undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redo_ = menu->addAction(ToQ(text::kRedoItem));
  redo_->setObjectName("RedoItem");
  redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  connect(undo_, &QAction::triggered, this, &UndoMenu::Undo);
  connect(redo_, &QAction::triggered, this, &UndoMenu::Redo);
  UpdateItems();
}

void UndoMenu::TakeEditStep() {
  const EditorState before = Current();
  view_.CollectEditor();
  const std::string what = FieldEditWords(before.form, form_);
  if (!what.empty()) Record(before, what);
}

void UndoMenu::Record(const EditorState& before, const std::string& what) {
  if (before.form == form_) return;
  history_.Record(before, what);
  UpdateItems();
}

void UndoMenu::SetCommandsEnabled(bool enabled) {
  commands_enabled_ = enabled;
  UpdateItems();
}

void UndoMenu::TakeUndoKeysOf(QWidget& field) { field.installEventFilter(this); }

bool UndoMenu::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride)
    return QObject::eventFilter(watched, event);
  const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
  if (pressed != undo_->shortcut() && pressed != redo_->shortcut()) return false;
  // Not claimed by the field: the menu's shortcut takes the key.
  event->ignore();
  return true;
}

void UndoMenu::Undo() {
  // An edit not yet taken as a step is the one undone.
  TakeEditStep();
  EditorState state = Current();
  if (const auto what = history_.Undo(state)) {
    ShowState(std::move(state));
    emit Outcome(ToQ(text::kUndone) + ToQ(*what));
  }
  UpdateItems();
}

void UndoMenu::Redo() {
  TakeEditStep();
  EditorState state = Current();
  if (const auto what = history_.Redo(state)) {
    ShowState(std::move(state));
    emit Outcome(ToQ(text::kRedone) + ToQ(*what));
  }
  UpdateItems();
}

void UndoMenu::ShowState(EditorState state) {
  state.form.port = form_.port;
  state.form.port_label = form_.port_label;
  form_ = std::move(state.form);
  settings_ = std::move(state.settings);
  view_.ShowEditor();
}

void UndoMenu::UpdateItems() {
  undo_->setEnabled(commands_enabled_ && history_.CanUndo());
  redo_->setEnabled(commands_enabled_ && history_.CanRedo());
}

}  // namespace zrm::gui
