#include "app/journal_repair.h"

#include "app/app_texts.h"
#include "profiles/profile_file.h"
#include "settings/instrument_identity_text.h"

namespace zrm {

RepairPlan PlanRepair(const std::string& working_dir, const DeviceSettings& instrument,
                      RepairKind kind) {
  RepairPlan plan;
  plan.kind = kind;
  switch (FindJournalEntry(working_dir, instrument, plan.entry, plan.problem)) {
    case JournalState::kNone: plan.finding = RepairFinding::kNothingUnfinished; return plan;
    case JournalState::kDamaged: plan.finding = RepairFinding::kDamaged; return plan;
    case JournalState::kUnfinished: break;
  }
  if (kind == RepairKind::kResume) {
    plan.target = plan.entry.settings;
  } else {
    const std::string& backup = plan.entry.backup_path;
    if (backup.empty() || !HoldsProfileKeys(backup)) {
      plan.finding = RepairFinding::kNoBackup;
      return plan;
    }
    ReadProfile(backup, plan.target);
  }
  // The same instrument, so no question about another one.
  plan.target.general.serial_lo = instrument.general.serial_lo;
  plan.target.general.serial_hi = instrument.general.serial_hi;
  plan.finding = RepairFinding::kReady;
  return plan;
}

std::string RepairRefusal(const RepairPlan& plan, const DeviceSettings& instrument) {
  const std::string number = DeviceNumber(instrument.general);
  switch (plan.finding) {
    case RepairFinding::kNothingUnfinished:
      return app_texts::kNothingUnfinished + number + app_texts::kNothingUnfinishedEnd;
    case RepairFinding::kNoBackup:
      return UnfinishedWriteSentence(plan.entry) + app_texts::kNoBackupToReturn +
             (plan.entry.backup_path.empty() ? std::string() : ": " + plan.entry.backup_path);
    case RepairFinding::kDamaged: return plan.problem;
    case RepairFinding::kReady: break;
  }
  return {};
}

}  // namespace zrm
