#include "gui/dialogs/backups_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

QString BackupTimeText(const QString& path) {
  const QFileInfo file(path);
  // "…-20261208-052900.prf", or "…-20261208-052900-2.prf" for a second one
  // taken in the same second.
  static const QRegularExpression kStamp(QStringLiteral("-(\\d{8}-\\d{6})(-\\d+)?$"));
  const QRegularExpressionMatch stamp = kStamp.match(file.completeBaseName());
  QDateTime at;
  if (stamp.hasMatch()) at = QDateTime::fromString(stamp.captured(1), "yyyyMMdd-HHmmss");
  if (!at.isValid()) at = file.lastModified();
  return at.toString("dd.MM.yyyy HH:mm:ss");
}

BackupsDialog::BackupsDialog(const QString& instrument, const std::vector<std::string>& paths,
                             std::function<bool(const QString&)> restore, QWidget* parent)
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
  restore_button->setAutoDefault(false);
  QPushButton* close = buttons->addButton(ToQ(text::kCloseButton), QDialogButtonBox::RejectRole);
  close->setObjectName("CloseButton");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(restore_button, &QPushButton::clicked, this, [this, restore] {
    const QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    if (restore(item->data(Qt::UserRole).toString()))
      accept();
    else
      list_->setFocus();  // declined: back to choosing a backup
  });

  auto* layout = new QVBoxLayout(this);
  if (paths.empty()) layout->addWidget(new QLabel(ToQ(text::kNoBackups)));
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(480, 320);
}

}  // namespace zrm::gui
