// The window's menu "Прибор": the comparison with the instrument, the write
// of changes and the backups. The device commands run as jobs on the link
// thread like the buttons of the top strip; their dialogs open on the
// window's thread once the job has ended.

#include <QElapsedTimer>
#include <QMenuBar>
#include <QStatusBar>
#include <memory>
#include <optional>
#include <vector>

#include "app/own_settings_file.h"
#include "gui/backups_dialog.h"
#include "gui/comparison_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/status_texts.h"
#include "gui/window_texts.h"

namespace zrm::gui {

void MainWindow::BuildDeviceMenu() {
  device_menu_ = menuBar()->addMenu(ToQ(text::kDeviceMenu));
  device_menu_->setObjectName("DeviceMenu");
  QAction* compare = device_menu_->addAction(ToQ(text::kCompareItem));
  compare->setObjectName("CompareItem");
  QAction* write_changes = device_menu_->addAction(ToQ(text::kWriteChangesItem));
  write_changes->setObjectName("WriteChangesItem");
  QAction* backups = device_menu_->addAction(ToQ(text::kBackupsItem));
  backups->setObjectName("BackupsItem");
  device_menu_->addSeparator();
  backup_before_write_ = device_menu_->addAction(ToQ(text::kBackupBeforeWriteItem));
  backup_before_write_->setObjectName("BackupBeforeWriteItem");
  backup_before_write_->setCheckable(true);
  backup_before_write_->setChecked(BackupBeforeWrite(session_.Dir()));
  connect(compare, &QAction::triggered, this, &MainWindow::OnCompare);
  connect(write_changes, &QAction::triggered, this, &MainWindow::OnWriteChanges);
  connect(backups, &QAction::triggered, this, &MainWindow::OnBackups);
  connect(backup_before_write_, &QAction::toggled, this, &MainWindow::OnBackupBeforeWriteToggled);
}

void MainWindow::OnCompare() {
  // Filled on the link thread; empty when the comparison failed.
  auto differences = std::make_shared<std::optional<std::vector<SettingDifference>>>();
  runner_.Run(
      [this, differences](EditorForm& form, DeviceSettings& s) {
        DeviceSettings instrument;
        std::vector<SettingDifference> found;
        const ExchangeResult r = session_.Compare(form, s, operator_, instrument, found);
        if (r != result::kOk) return CommandFailedStatus(r);
        *differences = std::move(found);
        return ToQ(text::kCompareDone) + QString::number((*differences)->size());
      },
      JobKind::kKeepsEditor,
      [this, differences] {
        if (*differences) (new ComparisonDialog(**differences, this))->show();
      });
}

void MainWindow::OnWriteChanges() {
  runner_.Run(
      [this](EditorForm& form, DeviceSettings& s) {
        ChangesWriteOutcome outcome;
        const ExchangeResult r = session_.WriteChanges(form, s, operator_, outcome);
        if (r != result::kOk) return CommandFailedStatus(r);
        if (outcome.written.empty()) return ToQ(text::kNothingWritten);
        return ToQ(text::kChangesWritten) + QString::number(outcome.written.size());
      },
      JobKind::kKeepsEditor);
}

void MainWindow::OnBackups() {
  const DeviceSettings& s = session_.settings;
  const QString instrument =
      ToQ("ZRM" + ModelNumber(s.general.proc_ver) + " " + DeviceNumber(s.general));
  auto* dialog = new BackupsDialog(
      instrument, BackupsOf(session_.Dir(), s),
      [this](const QString& path) {
        const std::string question = text::kRestoreQuestion + FromQ(BackupTimeText(path)) +
                                     text::kRestoreQuestionEnd + FromQ(path);
        if (!dialogs_.AskYesNo(this, question, text::kRestoreCaption, MessageIcon::kQuestion))
          return false;
        OpenProfileAt(path);
        OnWriteDevice();
        return true;
      },
      this);
  dialog->show();
}

void MainWindow::OnBackupBeforeWriteToggled(bool on) {
  std::string error;
  if (SetBackupBeforeWrite(session_.Dir(), on, error)) return;
  operator_.ShowMessage(text::kCannotKeepSetting + OwnSettingsPath(session_.Dir()) + ": " + error,
                        text::kErrorCaption, MessageIcon::kError);
}

}  // namespace zrm::gui
