#include "app/read_command.h"

#include "editor/editor_binding.h"
#include "editor/group_switches.h"
#include "settings/device_transfer.h"

namespace zrm {

ExchangeResult ReadCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                           Operator& op, int port_number) {
  op.EscPressed();  // an ESC pressed before the command must not stop it
  SelectAllGroups(s, form);
  op.LetMessagesThrough();
  EditorToSettings(form, s, op);
  op.LockCommands();
  ExchangeResult r = ReadDeviceSettings(link, s, op);
  ShowExchangeError(op, r);
  op.UnlockCommands();
  SettingsToEditor(s, form, port_number);
  return r;
}

}  // namespace zrm
