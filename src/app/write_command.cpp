#include "app/write_command.h"

#include "app/instrument_backup.h"
#include "app/instrument_identity.h"
#include "app/write_journal.h"
#include "app/app_texts.h"
#include "app/write_preparation.h"
#include "editor/settings_comparison.h"
#include "settings/device_transfer.h"

namespace zrm {

namespace {

// Shows the result that ended the command once and unlocks the commands. A
// device byte that did not read back as written is named under the result's
// own text, with the byte sent and the byte the instrument holds.
ExchangeResult Finish(ExchangeResult r, Operator& op, const ByteMismatch& mismatch) {
  ResultMessage message;
  if (ExchangeResultMessage(r, message)) {
    if (r == result::kReadBackMismatch && mismatch.parameter.device_byte)
      message.text += "\n" + ParameterName(mismatch.parameter) + app_texts::kByteSent +
                      std::to_string(mismatch.sent) + app_texts::kByteHeld +
                      std::to_string(mismatch.held);
    op.ShowMessage(message.text, message.caption, message.icon);
  }
  op.UnlockCommands();
  return r;
}

// The whole write of `s` into `instrument`, journalled: the entry is saved
// before the first frame and removed only when the restart was answered.
ExchangeResult JournalledWrite(const DeviceSettings& instrument, DeviceSettings& s,
                               ParameterAccess& link, Operator& op, const BackupPlace& place,
                               const std::string& backup_path, ByteMismatch& mismatch) {
  JournalLock lock;
  if (ExchangeResult r = OpenJournalEntry(place.working_dir, instrument, s, backup_path, op, lock))
    return r;
  const ExchangeResult r = WriteDeviceSettings(link, s, op, mismatch);
  if (r == result::kOk) CloseJournalEntry(place.working_dir, instrument);
  return r;
}

ExchangeResult ReadBackupAndWrite(DeviceSettings& s, ParameterAccess& link, Operator& op,
                                  const BackupPlace& place, std::string& backup_path,
                                  DeviceSettings& instrument, ByteMismatch& mismatch) {
  DeviceSettings read = s;
  if (ExchangeResult r = ReadDeviceSettings(link, read, op)) return r;
  instrument = read;
  if (ExchangeResult r = SaveBackup(instrument, op, place, backup_path)) return r;
  return JournalledWrite(instrument, s, link, op, place, backup_path, mismatch);
}

// Without a backup nothing else is read first: the identity alone names the
// journal entry.
ExchangeResult IdentifyAndWrite(DeviceSettings& s, ParameterAccess& link, Operator& op,
                                const BackupPlace& place, DeviceSettings& instrument,
                                ByteMismatch& mismatch) {
  if (ExchangeResult r = ReadInstrumentIdentity(link, s, instrument)) return r;
  return JournalledWrite(instrument, s, link, op, place, {}, mismatch);
}

}  // namespace

ExchangeResult WriteCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                            Operator& op, const BackupPlace& place, DeviceSettings& instrument) {
  ByteMismatch mismatch;
  ExchangeResult r = PrepareWrite(form, s, op);
  if (r == result::kOk) r = IdentifyAndWrite(s, link, op, place, instrument, mismatch);
  return Finish(r, op, mismatch);
}

ExchangeResult WriteCommandWithBackup(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                                      Operator& op, const BackupPlace& place,
                                      std::string& backup_path, DeviceSettings& instrument) {
  ByteMismatch mismatch;
  ExchangeResult r = PrepareWrite(form, s, op);
  if (r == result::kOk)
    r = ReadBackupAndWrite(s, link, op, place, backup_path, instrument, mismatch);
  return Finish(r, op, mismatch);
}

}  // namespace zrm
