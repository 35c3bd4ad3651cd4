#include "gui/widgets/typed_number.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

namespace zrm::gui {

namespace {

// The keys that follow each other within the keyboard's input interval add
// up to one number.
class TypedNumber : public QObject {
 public:
  explicit TypedNumber(QComboBox* list) : QObject(list), list_(list) {
    list->installEventFilter(this);
    list->view()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString digit = key->text();
    if (digit.size() != 1 || !digit[0].isDigit() ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
      return false;
    if (!typed_clock_.isValid() || typed_clock_.elapsed() > QApplication::keyboardInputInterval())
      typed_.clear();
    typed_clock_.restart();
    typed_ += digit;
    bool number = false;
    const int index = IndexOf(typed_.toInt(&number));
    if (!number || index < 0) return true;
    if (watched == list_->view()) {
      list_->view()->setCurrentIndex(list_->model()->index(index, list_->modelColumn()));
    } else if (index != list_->currentIndex()) {
      list_->setCurrentIndex(index);
      emit list_->activated(index);
    }
    return true;
  }

 private:
  int IndexOf(int number) const {
    for (int i = 0; i < list_->count(); ++i)
      if (list_->itemText(i).toInt() == number) return i;
    return -1;
  }

  QComboBox* list_;
  QString typed_;
  QElapsedTimer typed_clock_;
};

}  // namespace

void TakeTypedNumbers(QComboBox* list) { new TypedNumber(list); }

}  // namespace zrm::gui
