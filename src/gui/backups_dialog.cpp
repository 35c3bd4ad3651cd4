#include "gui/backups_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/window_texts.h"

namespace zrm::gui {

BackupsDialog::BackupsDialog(const QString& instrument, const std::vector<std::string>& paths,
                             std::function<void(const QString&)> restore, QWidget* parent)
    : QDialog(parent), list_(new QListWidget) {
  setObjectName("BackupsDialog");
  setWindowTitle(ToQ(text::kBackupsTitle) + instrument);
  setAttribute(Qt::WA_DeleteOnClose);
  list_->setObjectName("BackupList");
  for (const std::string& path : paths) {
    auto* item = new QListWidgetItem(QFileInfo(ToQ(path)).fileName());
    item->setData(Qt::UserRole, ToQ(path));
    list_->addItem(item);
  }
  if (list_->count() > 0) list_->setCurrentRow(0);

  auto* buttons = new QDialogButtonBox;
  QPushButton* restore_button =
      buttons->addButton(ToQ(text::kRestoreButton), QDialogButtonBox::AcceptRole);
  restore_button->setObjectName("RestoreButton");
  restore_button->setToolTip(ToQ(text::kRestoreHint));
  restore_button->setEnabled(list_->count() > 0);
  QPushButton* close = buttons->addButton(ToQ(text::kCloseButton), QDialogButtonBox::RejectRole);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(restore_button, &QPushButton::clicked, this, [this, restore] {
    const QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    const QString path = item->data(Qt::UserRole).toString();
    accept();
    restore(path);
  });

  auto* layout = new QVBoxLayout(this);
  if (paths.empty()) layout->addWidget(new QLabel(ToQ(text::kNoBackups)));
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(480, 320);
}

}  // namespace zrm::gui
