#pragma once
// A "simple list": an edit field with an item list behind it and no
// drop-down button. The arrow keys step through the items; typed text that
// is exactly an item selects it, any other text selects nothing.

#include <QLineEdit>
#include <string>
#include <vector>

namespace zrm::gui {

class SimpleList : public QLineEdit {
  Q_OBJECT

 public:
  SimpleList(const std::vector<std::string>& items, const char* name, QWidget* parent = nullptr);

  // Shows item `index`; an index without an item shows an empty field.
  void SetCurrentIndex(int index);
  // The position of the shown text among the items, -1 when it is none.
  int CurrentIndex() const;
  int Count() const { return static_cast<int>(items_.size()); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::vector<QString> items_;
};

}  // namespace zrm::gui
