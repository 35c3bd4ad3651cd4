#include "app/write_command.h"

#include "app/instrument_backup.h"
#include "app/write_journal.h"
#include "app/write_preparation.h"
#include "settings/device_transfer.h"

namespace zrm {

namespace {

// Shows the result that ended the command once and unlocks the commands.
ExchangeResult Finish(ExchangeResult r, Operator& op) {
  ShowExchangeError(op, r);
  op.UnlockCommands();
  return r;
}

// The whole write of `s` into `instrument`, journalled: the entry is saved
// before the first frame and removed only when the restart was answered.
ExchangeResult JournalledWrite(const DeviceSettings& instrument, DeviceSettings& s,
                               ParameterAccess& link, Operator& op, const BackupPlace& place,
                               const std::string& backup_path) {
  if (ExchangeResult r = OpenJournalEntry(place.working_dir, instrument, s, backup_path, op))
    return r;
  const ExchangeResult r = WriteDeviceSettings(link, s, op);
  if (r == result::kOk) CloseJournalEntry(place.working_dir, instrument);
  return r;
}

ExchangeResult ReadBackupAndWrite(DeviceSettings& s, ParameterAccess& link, Operator& op,
                                  const BackupPlace& place, std::string& backup_path) {
  DeviceSettings instrument = s;
  if (ExchangeResult r = ReadDeviceSettings(link, instrument, op)) return r;
  if (ExchangeResult r = SaveBackup(instrument, op, place, backup_path)) return r;
  return JournalledWrite(instrument, s, link, op, place, backup_path);
}

}  // namespace

ExchangeResult WriteCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                            Operator& op, const BackupPlace& place) {
  ExchangeResult r = PrepareWrite(form, s, op);
  // Without a read before it, the instrument is the one the record was
  // last read from.
  if (r == result::kOk) r = JournalledWrite(s, s, link, op, place, {});
  return Finish(r, op);
}

ExchangeResult WriteCommandWithBackup(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                                      Operator& op, const BackupPlace& place,
                                      std::string& backup_path) {
  ExchangeResult r = PrepareWrite(form, s, op);
  if (r == result::kOk) r = ReadBackupAndWrite(s, link, op, place, backup_path);
  return Finish(r, op);
}

}  // namespace zrm
