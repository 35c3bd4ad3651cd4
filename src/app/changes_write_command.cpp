#include "app/changes_write_command.h"

#include "app/app_texts.h"
#include "app/write_journal.h"
#include "app/write_preparation.h"
#include "editor/comparison_texts.h"
#include "editor/settings_comparison.h"
#include "settings/changes_transfer.h"
#include "settings/device_transfer.h"

namespace zrm {

namespace {

std::string LinesOf(const std::vector<SettingDifference>& differences) {
  std::string text;
  for (const SettingDifference& d : differences) text += DifferenceLine(d) + "\n";
  return text;
}

bool Ask(Operator& op, const std::string& text) {
  return op.AskYesNo(text, app_texts::kChangesCaption, MessageIcon::kQuestion);
}

// Asks about another instrument, then about the changes themselves.
bool Confirmed(const DeviceSettings& instrument, const DeviceSettings& s,
               const std::vector<SettingDifference>& differences, Operator& op) {
  if (IsOtherInstrument(instrument, s)) {
    std::vector<SettingDifference> identity;
    for (const SettingDifference& d : differences)
      if (d.group == comparison_texts::kOtherInstrument) identity.push_back(d);
    if (!Ask(op,
             app_texts::kOtherInstrumentQuestion + LinesOf(identity) + app_texts::kContinueAnyway))
      return false;
  }
  return Ask(op, app_texts::kConfirmChanges + LinesOf(differences) + app_texts::kWriteThem);
}

// What reached the instrument before the write stopped, what it holds
// neither old nor new, how to complete it, and the backup.
void TellWhatWasWritten(const ChangesWriteOutcome& outcome, Operator& op) {
  const bool touched = !outcome.written.empty() || !outcome.unfinished.empty();
  std::string text = touched ? std::string(app_texts::kWriteStoppedAfter)
                             : std::string(app_texts::kWriteStoppedNothing);
  if (touched && outcome.written.empty()) text += app_texts::kNothingWholly;
  for (const WrittenParameter& p : outcome.written) text += ParameterName(p) + "\n";
  if (!outcome.unfinished.empty()) {
    text += app_texts::kNeitherOldNorNew;
    for (const WrittenParameter& p : outcome.unfinished) text += ParameterName(p) + "\n";
  }
  if (touched) text += app_texts::kWriteChangesAgain;
  text += "\n" + std::string(app_texts::kBackupIsIn) + outcome.backup_path;
  op.ShowMessage(text, app_texts::kChangesCaption, MessageIcon::kWarning);
}

ExchangeResult ReadCompareAndWrite(DeviceSettings& s, ParameterAccess& link, Operator& op,
                                   const BackupPlace& place, ChangesWriteOutcome& outcome) {
  DeviceSettings instrument = s;
  if (ExchangeResult r = ReadDeviceSettings(link, instrument, op)) return r;
  outcome.instrument = instrument;
  const std::vector<WrittenParameter> changed = ChangedParameters(instrument, s);
  if (changed.empty()) {
    op.ShowMessage(app_texts::kNothingToWrite, app_texts::kChangesCaption,
                   MessageIcon::kInformation);
    return result::kOk;
  }
  if (!Confirmed(instrument, s, CompareSettings(instrument, s), op))
    return result::kStoppedToClarify;
  if (ExchangeResult r = SaveBackup(instrument, op, place, outcome.backup_path)) return r;
  JournalLock lock;
  if (ExchangeResult r =
          OpenJournalEntry(place.working_dir, instrument, s, outcome.backup_path, op, lock))
    return r;
  const ExchangeResult r =
      WriteChangedSettings(link, s, changed, op, outcome.written, outcome.unfinished);
  if (r == result::kOk)
    CloseJournalEntry(place.working_dir, instrument);
  else
    TellWhatWasWritten(outcome, op);
  return r;
}

}  // namespace

ExchangeResult WriteChangesCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                                   Operator& op, const BackupPlace& place,
                                   ChangesWriteOutcome& outcome) {
  outcome = {};
  ExchangeResult r = PrepareWrite(form, s, op);
  if (r == result::kOk) r = ReadCompareAndWrite(s, link, op, place, outcome);
  ShowExchangeError(op, r);
  op.UnlockCommands();
  return r;
}

}  // namespace zrm
