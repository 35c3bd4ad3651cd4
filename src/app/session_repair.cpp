// The session's device jobs that end an unfinished write: the instrument
// identified, its journal looked up, and the settings still needed written
// as a write of changes.

#include "app/instrument_identity.h"
#include "app/session.h"
#include "app/write_journal.h"
#include "editor/editor_binding.h"
#include "editor/group_switches.h"
#include "settings/device_transfer.h"
#include "settings/general_transfer.h"

namespace zrm {

ExchangeResult Session::Identify(const DeviceSettings& s, DeviceSettings& instrument) {
  return ReadInstrumentIdentity(*link_, s, instrument);
}

ExchangeResult Session::FindRepair(RepairKind kind, const DeviceSettings& s, Operator& op,
                                   DeviceSettings& instrument, RepairPlan& plan) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  if (ExchangeResult r = ReadInstrumentIdentity(*link_, s, instrument)) {
    ShowExchangeError(op, r);
    return r;
  }
  plan = PlanRepair(dir_, instrument, kind);
  if (plan.finding != RepairFinding::kReady || kind != RepairKind::kResume ||
      plan.entry.scope.empty())
    return result::kOk;
  // The entry of a write of one parameter holds only what that write was
  // sending; everything else is what the instrument holds now.
  DeviceSettings now = s;
  EditorForm all_groups;
  SelectAllGroups(now, all_groups);
  if (ExchangeResult r = ReadDeviceSettings(*link_, now, op)) {
    ShowExchangeError(op, r);
    return r;
  }
  plan.target = WithEntryScope(now, plan.entry);
  return result::kOk;
}

ExchangeResult Session::RepairWrite(const RepairPlan& plan, EditorForm& job_form, DeviceSettings& s,
                                    Operator& op, ChangesWriteOutcome& outcome) {
  s = plan.target;
  SettingsToEditor(s, job_form, config_.port_number);
  const ExchangeResult r = WriteChangesAs(
      plan.kind == RepairKind::kResume ? "resume" : "rollback", job_form, s, op, outcome);
  if (r != result::kOk || !outcome.written.empty()) return r;
  // Nothing differed: the instrument holds the settings, but a write stopped
  // after its last parameter has not ended; the two closing writes (byte 0
  // and the restart) end it as any write ends, and only then the entry goes.
  op.Notice(UnfinishedWriteSentence(plan.entry));
  JournalLock lock;
  if (ExchangeResult r = TakeJournalLock(dir_, outcome.instrument, op, lock)) return r;
  if (ExchangeResult restart = WriteClosingCommands(*link_, op)) {
    ShowExchangeError(op, restart);
    return restart;
  }
  CloseJournalEntry(dir_, outcome.instrument);
  return result::kOk;
}

}  // namespace zrm
