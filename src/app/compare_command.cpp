#include "app/compare_command.h"

#include "editor/editor_binding.h"
#include "editor/group_switches.h"
#include "settings/device_transfer.h"

namespace zrm {

ExchangeResult CompareCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                              Operator& op, DeviceSettings& instrument,
                              std::vector<SettingDifference>& differences) {
  differences.clear();
  op.EscPressed();  // an ESC pressed before the command must not stop it
  SelectAllGroups(s, form);
  EditorToSettings(form, s, op);
  op.LockCommands();
  instrument = s;
  const ExchangeResult r = ReadDeviceSettings(link, instrument, op);
  if (r == result::kOk) differences = CompareSettings(instrument, s);
  ShowExchangeError(op, r);
  op.UnlockCommands();
  return r;
}

}  // namespace zrm
