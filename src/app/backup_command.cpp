#include "app/backup_command.h"

#include "editor/editor_binding.h"
#include "editor/group_switches.h"

namespace zrm {

ExchangeResult BackupCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                             Operator& op, const BackupPlace& place, std::string& path) {
  op.EscPressed();  // an ESC pressed before the command must not stop it
  SelectAllGroups(s, form);
  EditorToSettings(form, s, op);
  op.LockCommands();
  const ExchangeResult r = ReadAndSaveBackup(link, s, op, place, path);
  ShowExchangeError(op, r);
  op.UnlockCommands();
  return r;
}

}  // namespace zrm
