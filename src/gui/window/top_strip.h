#pragma once
// The strip above the notebook: the port in use and the port selector, the
// read and write buttons, and the profile description box.

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "editor/editor_form.h"

namespace zrm::gui {

class TopStrip : public QWidget {
  Q_OBJECT

 public:
  explicit TopStrip(QWidget* parent = nullptr);

  void Show(const EditorForm& form);
  void Collect(EditorForm& form) const;

  // The controls the window connects and locks during a command.
  QComboBox* PortSelector() const { return port_; }
  QPushButton* ReadButton() const { return read_; }
  QPushButton* WriteButton() const { return write_; }
  QPlainTextEdit* Description() const { return description_; }

 private:
  QLabel* port_label_;           // Label2
  QComboBox* port_;              // ComboBox17
  QPushButton* read_;            // Button1
  QPushButton* write_;           // Button3
  QPlainTextEdit* description_;  // RichEdit1
};

}  // namespace zrm::gui
