#include "app/journal_repair.h"
#include "app/session.h"
#include "cli/cli_commands.h"
#include "cli/command_session.h"
#include "cli/interrupt_as_esc.h"

namespace zrm {

namespace {

int RefusalExit(RepairFinding finding) {
  switch (finding) {
    case RepairFinding::kNothingUnfinished: return kNothingUnfinishedExit;
    case RepairFinding::kNoBackup: return kNoBackupExit;
    case RepairFinding::kDamaged: return static_cast<int>(result::kFile);
    case RepairFinding::kReady: break;
  }
  return 0;
}

// Identifies the instrument, finds its unfinished write and writes the
// changes still needed towards the journal's settings or the backup.
int RunRepair(const CliOptions& options, CliOperator& op, RepairKind kind) {
  TreatInterruptAsEsc();
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;
  DeviceSettings instrument;
  RepairPlan plan;
  if (ExchangeResult r = session.FindRepair(kind, session.settings, op, instrument, plan))
    return static_cast<int>(r);
  if (plan.finding != RepairFinding::kReady) {
    op.Tell(RepairRefusal(plan, instrument));
    return RefusalExit(plan.finding);
  }
  ChangesWriteOutcome outcome;
  return static_cast<int>(session.RepairWrite(plan, session.form, session.settings, op, outcome));
}

}  // namespace

int RunResume(const CliOptions& options, CliOperator& op, std::FILE*) {
  return RunRepair(options, op, RepairKind::kResume);
}

int RunRollback(const CliOptions& options, CliOperator& op, std::FILE*) {
  return RunRepair(options, op, RepairKind::kRollback);
}

}  // namespace zrm
