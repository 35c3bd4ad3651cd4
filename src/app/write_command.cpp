#include "app/write_command.h"

#include "app/instrument_backup.h"
#include "app/instrument_identity.h"
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
  JournalLock lock;
  if (ExchangeResult r = OpenJournalEntry(place.working_dir, instrument, s, backup_path, op, lock))
    return r;
  const ExchangeResult r = WriteDeviceSettings(link, s, op);
  if (r == result::kOk) CloseJournalEntry(place.working_dir, instrument);
  return r;
}

ExchangeResult ReadBackupAndWrite(DeviceSettings& s, ParameterAccess& link, Operator& op,
                                  const BackupPlace& place, std::string& backup_path,
                                  DeviceSettings& instrument) {
  DeviceSettings read = s;
  if (ExchangeResult r = ReadDeviceSettings(link, read, op)) return r;
  instrument = read;
  if (ExchangeResult r = SaveBackup(instrument, op, place, backup_path)) return r;
  return JournalledWrite(instrument, s, link, op, place, backup_path);
}

// Without a backup nothing else is read first: the identity alone names the
// journal entry.
ExchangeResult IdentifyAndWrite(DeviceSettings& s, ParameterAccess& link, Operator& op,
                                const BackupPlace& place, DeviceSettings& instrument) {
  if (ExchangeResult r = ReadInstrumentIdentity(link, s, instrument)) return r;
  return JournalledWrite(instrument, s, link, op, place, {});
}

}  // namespace

ExchangeResult WriteCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                            Operator& op, const BackupPlace& place, DeviceSettings& instrument) {
  ExchangeResult r = PrepareWrite(form, s, op);
  if (r == result::kOk) r = IdentifyAndWrite(s, link, op, place, instrument);
  return Finish(r, op);
}

ExchangeResult WriteCommandWithBackup(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                                      Operator& op, const BackupPlace& place,
                                      std::string& backup_path, DeviceSettings& instrument) {
  ExchangeResult r = PrepareWrite(form, s, op);
  if (r == result::kOk) r = ReadBackupAndWrite(s, link, op, place, backup_path, instrument);
  return Finish(r, op);
}

}  // namespace zrm
