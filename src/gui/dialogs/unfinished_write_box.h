#pragma once
// The box that tells of an unfinished write into the instrument and offers
// to end it: "Дописать", "Вернуть как было" (only with a backup) and
// "Позже". It never blocks the window: the current values go on being
// polled while it stands.

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace zrm::gui {

class UnfinishedWriteBox : public QDialog {
  Q_OBJECT

 public:
  explicit UnfinishedWriteBox(QWidget* parent = nullptr);

  // Shows `text` (raised when already open); the rollback is offered only
  // when `can_roll_back`, the two actions only when `can_act` (an entry
  // that cannot be read offers nothing but "Позже").
  void Offer(const QString& text, bool can_act, bool can_roll_back);
  // Locks (false) the actions while another command runs; "Позже" stays.
  void SetActionsEnabled(bool enabled);

 signals:
  void ResumeChosen();
  void RollbackChosen();

 private:
  QLabel* text_;
  QPushButton* resume_;
  QPushButton* rollback_;
};

}  // namespace zrm::gui
