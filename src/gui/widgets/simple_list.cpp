#include "gui/widgets/simple_list.h"

#include <QKeyEvent>
#include <algorithm>

#include "gui/texts/qt_text.h"

namespace zrm::gui {

SimpleList::SimpleList(const std::vector<std::string>& items, const char* name, QWidget* parent)
    : QLineEdit(parent) {
  setObjectName(name);
  for (const auto& item : items) items_.push_back(ToQ(item));
}

void SimpleList::SetCurrentIndex(int index) {
  setText(index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)] : QString());
}

int SimpleList::CurrentIndex() const {
  const auto found = std::find(items_.begin(), items_.end(), text());
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void SimpleList::keyPressEvent(QKeyEvent* event) {
  const int step = event->key() == Qt::Key_Down ? 1 : event->key() == Qt::Key_Up ? -1 : 0;
  if (step == 0 || Count() == 0) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const int index = CurrentIndex();
  SetCurrentIndex(index < 0 ? 0 : std::clamp(index + step, 0, Count() - 1));
}

}  // namespace zrm::gui
