// The session's device jobs of the comparison with the instrument and of
// the backups; each opens the port again first, as Read and Write do.

#include "app/backup_command.h"
#include "app/compare_command.h"
#include "app/session.h"
#include "app/write_command.h"

namespace zrm {

ExchangeResult Session::Compare(EditorForm& job_form, DeviceSettings& s, Operator& op,
                                DeviceSettings& instrument,
                                std::vector<SettingDifference>& differences) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  return CompareCommand(job_form, s, *link_, op, instrument, differences);
}

ExchangeResult Session::WriteChanges(EditorForm& job_form, DeviceSettings& s, Operator& op,
                                     ChangesWriteOutcome& outcome) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  return WriteChangesCommand(job_form, s, *link_, op, Backups(), outcome);
}

ExchangeResult Session::WriteWithBackup(EditorForm& job_form, DeviceSettings& s, Operator& op,
                                        std::string& backup_path, DeviceSettings& instrument) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  return WriteCommandWithBackup(job_form, s, *link_, op, Backups(), backup_path, instrument);
}

ExchangeResult Session::Backup(EditorForm& job_form, DeviceSettings& s, Operator& op,
                               std::string& path) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  return BackupCommand(job_form, s, *link_, op, Backups(), path);
}

}  // namespace zrm
