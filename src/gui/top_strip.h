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

  QLabel* port_label;          // Label2
  QComboBox* port;             // ComboBox17
  QPushButton* read;           // Button1
  QPushButton* write;          // Button3
  QPlainTextEdit* description;  // RichEdit1
};

}  // namespace zrm::gui
