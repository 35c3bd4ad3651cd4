#pragma once
// The menu "Правка" over the editor's history: "Отменить" and "Вернуть", the
// undo steps the window's operations leave (a field edited, a read, a
// profile opened) and the words the status bar says of an undo or a redo.
// The items are enabled while there is a step and the commands are not
// locked.

#include <QAction>
#include <QMenuBar>
#include <QObject>
#include <string>

#include "editor/editor_history.h"

namespace zrm::gui {

// The window's side of the editor: its controls and the form.
class EditorView {
 public:
  virtual ~EditorView() = default;
  // Copies the controls into the editor form.
  virtual void CollectEditor() = 0;
  // Copies the editor form into the controls.
  virtual void ShowEditor() = 0;
};

class UndoMenu : public QObject {
  Q_OBJECT

 public:
  // Adds the menu to `bar`. `form` and `settings` are the editor's content,
  // `view` shows and collects it; all of them must outlive the menu.
  UndoMenu(QMenuBar& bar, EditorForm& form, DeviceSettings& settings, EditorView& view,
           QObject* parent);

  // The editor's state now.
  EditorState Current() const { return {form_, settings_}; }
  // Copies the controls into the form, leaving a step named for the field
  // the user changed since the last copy, if any.
  void TakeEditStep();
  // The step of the operation `what` that started from `before`, left only
  // when the operation changed the form.
  void Record(const EditorState& before, const std::string& what);
  // Locked commands lock the items as well.
  void SetCommandsEnabled(bool enabled);
  // The undo and redo keys pressed in `field`, a text field of the editor,
  // are the menu's, not the field's own silent undo of its typing: the edit
  // under way is the step taken back, and the status bar says so.
  void TakeUndoKeysOf(QWidget& field);

 signals:
  // What an undo or a redo did, for the status bar.
  void Outcome(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Undo();
  void Redo();
  // Shows `state` in the editor, keeping the port the link uses.
  void ShowState(EditorState state);
  void UpdateItems();

  EditorForm& form_;
  DeviceSettings& settings_;
  EditorView& view_;
  EditorHistory history_;
  QAction* undo_;  // UndoItem
  QAction* redo_;  // RedoItem
  bool commands_enabled_ = true;
};

}  // namespace zrm::gui
