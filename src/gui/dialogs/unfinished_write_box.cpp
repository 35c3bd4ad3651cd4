#include "gui/dialogs/unfinished_write_box.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "gui/texts/qt_text.h"
#include "gui/dialogs/whole_title.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

UnfinishedWriteBox::UnfinishedWriteBox(QWidget* parent)
    : QDialog(parent), text_(new QLabel), resume_(nullptr), rollback_(nullptr) {
  setObjectName("UnfinishedWriteBox");
  setWindowTitle(ToQ(text::kUnfinishedWriteTitle));
  setMinimumWidth(WholeTitleWidth(*this));
  setModal(false);
  text_->setObjectName("UnfinishedWriteText");
  text_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox;
  resume_ = buttons->addButton(ToQ(text::kResumeButton), QDialogButtonBox::AcceptRole);
  resume_->setObjectName("ResumeButton");
  rollback_ = buttons->addButton(ToQ(text::kRollbackButton), QDialogButtonBox::AcceptRole);
  rollback_->setObjectName("RollbackButton");
  QPushButton* later = buttons->addButton(ToQ(text::kLaterButton), QDialogButtonBox::RejectRole);
  later->setObjectName("LaterButton");
  // Enter and ESC put it off; ending the write is always a click.
  later->setDefault(true);
  connect(resume_, &QPushButton::clicked, this, [this] {
    hide();
    emit ResumeChosen();
  });
  connect(rollback_, &QPushButton::clicked, this, [this] {
    hide();
    emit RollbackChosen();
  });
  connect(later, &QPushButton::clicked, this, &QDialog::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
}

void UnfinishedWriteBox::Offer(const QString& text, bool can_act, bool can_roll_back) {
  text_->setText(text);
  resume_->setVisible(can_act);
  rollback_->setVisible(can_act && can_roll_back);
  show();
  raise();
}

void UnfinishedWriteBox::SetActionsEnabled(bool enabled) {
  resume_->setEnabled(enabled);
  rollback_->setEnabled(enabled);
}

}  // namespace zrm::gui
