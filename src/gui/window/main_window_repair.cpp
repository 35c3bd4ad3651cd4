// The window's end of an unfinished write: "Дописать" and "Вернуть как было"
// from the menu "Прибор" or the box that offers them run as device jobs like
// any write, with the progress panel and the status bar; the instrument's
// journal is looked up again once they have ended.

#include <memory>
#include <string>

#include "app/app_texts.h"
#include "gui/dialogs/backups_dialog.h"
#include "gui/window/main_window.h"
#include "gui/texts/qt_text.h"
#include "gui/window/repair_operator.h"
#include "gui/window/status_texts.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

// Where the values of a repair come from, for the question before it writes.
std::string RepairHeading(RepairKind kind, const RepairPlan& plan) {
  if (kind == RepairKind::kResume) return text::kResumeHeading;
  const QString backup = ToQ(plan.entry.backup_path);
  return text::kRollbackHeading + FromQ(BackupTimeText(backup)) + ", " + plan.entry.backup_path +
         text::kRollbackHeadingEnd;
}

}  // namespace

void MainWindow::OnRepair(RepairKind kind) {
  progress_group_.clear();
  auto instrument = std::make_shared<DeviceSettings>();
  auto ended = std::make_shared<ExchangeResult>(result::kOk);
  const std::time_t began = std::time(nullptr);
  runner_.Run(
      [this, kind, instrument, ended](EditorForm& form, DeviceSettings& s) {
        RepairPlan plan;
        if ((*ended = session_.FindRepair(kind, s, operator_, *instrument, plan)))
          return CommandFailedStatus(*ended);
        if (plan.finding != RepairFinding::kReady) {
          const std::string refusal = RepairRefusal(plan, *instrument);
          operator_.ShowMessage(refusal, app_texts::kJournalCaption, MessageIcon::kInformation);
          // The status bar is one line.
          return ToQ(refusal).simplified();
        }
        ChangesWriteOutcome outcome;
        RepairOperator repair_operator(operator_, RepairHeading(kind, plan));
        *ended = session_.RepairWrite(plan, form, s, repair_operator, outcome);
        return ChangesStatus(*ended, outcome);
      },
      // The editor shows the settings written, as after any write.
      JobKind::kKeepsEditor,
      [this, instrument, ended, began] { LookForUnfinishedWrite(*instrument, *ended, began); });
}

void MainWindow::LookForUnfinishedWrite(const DeviceSettings& instrument, ExchangeResult r,
                                        std::time_t began) {
  const QString stop =
      r == result::kOk || progress_group_.isEmpty()
          ? QString()
          : ToQ(text::kWriteStoppedInGroup) + progress_group_ + ToQ(text::kMixedConfiguration);
  unfinished_write_->Look(instrument, stop, began);
}

}  // namespace zrm::gui
