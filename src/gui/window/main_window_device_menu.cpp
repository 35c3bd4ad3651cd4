// The window's menu "Прибор": the comparison with the instrument, the write
// of changes, the backups, the history of changes and the end of an
// unfinished write. The device commands run as jobs on
// the link thread like the buttons of the top strip; their dialogs open on the window's thread once
// the job has ended.

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <memory>
#include <optional>
#include <vector>

#include "app/own_settings_file.h"
#include "gui/dialogs/backups_dialog.h"
#include "gui/dialogs/comparison_dialog.h"
#include "gui/window/main_window.h"
#include "gui/texts/qt_text.h"
#include "gui/window/status_texts.h"
#include "gui/texts/window_texts.h"
#include "settings/instrument_identity_text.h"

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
  QAction* history = device_menu_->addAction(ToQ(text::kHistoryItem));
  history->setObjectName("HistoryItem");
  device_menu_->addSeparator();
  backup_before_write_ = device_menu_->addAction(ToQ(text::kBackupBeforeWriteItem));
  backup_before_write_->setObjectName("BackupBeforeWriteItem");
  backup_before_write_->setCheckable(true);
  backup_before_write_->setChecked(BackupBeforeWrite(session_.Dir()));
  device_menu_->addSeparator();
  QAction* resume = device_menu_->addAction(ToQ(text::kResumeItem));
  resume->setObjectName("ResumeWriteItem");
  QAction* rollback = device_menu_->addAction(ToQ(text::kRollbackItem));
  rollback->setObjectName("RollbackWriteItem");
  connect(resume, &QAction::triggered, this, [this] { OnRepair(RepairKind::kResume); });
  connect(rollback, &QAction::triggered, this, [this] { OnRepair(RepairKind::kRollback); });
  connect(compare, &QAction::triggered, this, &MainWindow::OnCompare);
  connect(write_changes, &QAction::triggered, this, &MainWindow::OnWriteChanges);
  connect(backups, &QAction::triggered, this, &MainWindow::OnBackups);
  connect(history, &QAction::triggered, this, &MainWindow::OnHistory);
  connect(backup_before_write_, &QAction::toggled, this, &MainWindow::OnBackupBeforeWriteToggled);
}

void MainWindow::OnCompare() {
  RunComparison(
      [this](EditorForm& form, DeviceSettings& s, DeviceSettings& instrument,
             std::vector<SettingDifference>& found) {
        return session_.Compare(form, s, operator_, instrument, found);
      },
      {});
}

void MainWindow::OnCompareWithBackup(const QString& path) {
  RunComparison(
      [this, backup = FromQ(path)](EditorForm& form, DeviceSettings& s, DeviceSettings& instrument,
                                   std::vector<SettingDifference>& found) {
        return session_.CompareWithProfile(backup, form, s, operator_, instrument, found);
      },
      QFileInfo(path).fileName());
}

void MainWindow::RunComparison(Comparison compare, const QString& backup) {
  // Filled on the link thread; empty when the comparison failed.
  auto differences = std::make_shared<std::optional<std::vector<SettingDifference>>>();
  auto instrument = std::make_shared<DeviceSettings>();
  runner_.Run(
      [compare, differences, instrument](EditorForm& form, DeviceSettings& s) {
        std::vector<SettingDifference> found;
        const ExchangeResult r = compare(form, s, *instrument, found);
        if (r != result::kOk) return CommandFailedStatus(r);
        *differences = std::move(found);
        return ToQ(text::kCompareDone) + QString::number((*differences)->size());
      },
      JobKind::kKeepsEditor,
      [this, differences, instrument, backup] {
        if (!*differences) return;
        (new ComparisonDialog(**differences, this, backup))->show();
        LookForUnfinishedWrite(*instrument);
      });
}

void MainWindow::OnWriteChanges() {
  progress_group_.clear();
  auto outcome = std::make_shared<ChangesWriteOutcome>();
  auto ended = std::make_shared<ExchangeResult>(result::kOk);
  const std::time_t began = std::time(nullptr);
  runner_.Run(
      [this, outcome, ended](EditorForm& form, DeviceSettings& s) {
        *ended = session_.WriteChanges(form, s, operator_, *outcome);
        return ChangesStatus(*ended, *outcome);
      },
      JobKind::kKeepsEditor,
      [this, outcome, ended, began] {
        LookForUnfinishedWrite(outcome->instrument, *ended, began);
      });
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
        // A whole write cannot be taken back: only a deliberate Yes starts it.
        if (!dialogs_.AskYesNoDefaultNo(this, question, text::kRestoreCaption,
                                        MessageIcon::kQuestion))
          return false;
        OpenProfileAt(path);
        OnWriteDevice();
        return true;
      },
      this);
  dialog->show();
}

void MainWindow::OnHistory() {
  const GeneralSettings& g = session_.settings.general;
  const std::string instrument = SerialNumber(g) == 0 ? std::string() : DeviceNumber(g);
  // One list at a time, of the instrument at hand.
  if (history_ && history_->Instrument() == instrument) {
    history_->raise();
    history_->activateWindow();
    return;
  }
  if (history_) history_->close();
  history_ = new HistoryDialog(
      session_.Dir(), instrument, dialogs_,
      [this](const QString& path) { OnCompareWithBackup(path); }, this);
  history_->show();
}

void MainWindow::OnBackupBeforeWriteToggled(bool on) {
  std::string error;
  if (SetBackupBeforeWrite(session_.Dir(), on, error)) return;
  operator_.ShowMessage(text::kCannotKeepSetting + OwnSettingsPath(session_.Dir()) + ": " + error,
                        text::kErrorCaption, MessageIcon::kError);
}

}  // namespace zrm::gui
