#include "app/write_command.h"

#include "app/instrument_backup.h"
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

}  // namespace

ExchangeResult WriteCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                            Operator& op) {
  ExchangeResult r = PrepareWrite(form, s, op);
  if (r == result::kOk) r = WriteDeviceSettings(link, s, op);
  return Finish(r, op);
}

ExchangeResult WriteCommandWithBackup(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                                      Operator& op, const BackupPlace& place,
                                      std::string& backup_path) {
  ExchangeResult r = PrepareWrite(form, s, op);
  if (r == result::kOk) r = ReadAndSaveBackup(link, s, op, place, backup_path);
  if (r == result::kOk) r = WriteDeviceSettings(link, s, op);
  return Finish(r, op);
}

}  // namespace zrm
