#include "gui/window/gui_operator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>
#include <utility>

#include "gui/texts/qt_text.h"

namespace zrm::gui {

GuiOperator::GuiOperator(DialogService& dialogs, QWidget* parent)
    : dialogs_(dialogs), parent_(parent) {
  QApplication::instance()->installEventFilter(this);
}

template <typename Call>
void GuiOperator::OnWindowThread(Call call) {
  if (QThread::currentThread() == thread())
    call();
  else if (!stopped_asking_)
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

void GuiOperator::ShowMessage(const std::string& text, const std::string& caption,
                              MessageIcon icon) {
  HeldBox box{text, caption, icon};
  if (QThread::currentThread() == thread()) {
    Show(box);
    return;
  }
  // Queued, not waited for: the job goes on to its end, and the box joins
  // the others before the job's notice of its end arrives.
  if (!stopped_asking_)
    QMetaObject::invokeMethod(
        this, [this, box = std::move(box)] { job_boxes_.push_back(box); },
        Qt::QueuedConnection);
}

void GuiOperator::Show(const HeldBox& box) {
  if (holding_boxes_)
    held_boxes_.push_back(box);
  else if (!stopped_asking_)
    dialogs_.ShowMessage(parent_, box.text, box.caption, box.icon);
}

void GuiOperator::ShowHeldBoxes() {
  holding_boxes_ = false;
  for (const HeldBox& box : std::exchange(held_boxes_, {})) Show(box);
}

void GuiOperator::ShowJobBoxes() {
  for (const HeldBox& box : std::exchange(job_boxes_, {})) Show(box);
}

bool GuiOperator::AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) {
  bool yes = false;
  OnWindowThread([&] {
    // What the job said before it asks is read before the question.
    ShowJobBoxes();
    if (!stopped_asking_) yes = dialogs_.AskYesNo(parent_, text, caption, icon);
  });
  return yes;
}

void GuiOperator::SetProgressLines(const ProgressLines& lines) {
  QStringList texts;
  for (const auto& line : lines) texts << ToQ(line);
  emit ProgressLinesChanged(texts);
}

void GuiOperator::ShowProgress() { emit ProgressVisible(true); }

void GuiOperator::HideProgress() { emit ProgressVisible(false); }

void GuiOperator::SetProgressCount(int done, int total) { emit ProgressCountChanged(done, total); }

bool GuiOperator::EscPressed() { return esc_pressed_.exchange(false); }

void GuiOperator::StopAsking() {
  if (stopped_asking_.exchange(true)) return;
  dialogs_.DismissOpen();
}

void GuiOperator::ResumeAsking() { stopped_asking_ = false; }

bool GuiOperator::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && MeantForTheWindow(watched))
    esc_pressed_ = true;
  return QObject::eventFilter(watched, event);
}

bool GuiOperator::MeantForTheWindow(const QObject* watched) const {
  // An ESC that closes a menu, a drop-down list or a box is used up there:
  // it must not stop the next command.
  if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
  const auto* widget = qobject_cast<const QWidget*>(watched);
  return widget && widget->window() == parent_->window();
}

}  // namespace zrm::gui
