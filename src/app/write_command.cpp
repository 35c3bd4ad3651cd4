#include "app/write_command.h"

#include "editor/editor_binding.h"
#include "editor/field_texts.h"
#include "editor/group_switches.h"
#include "settings/check_channels.h"
#include "settings/check_field_texts.h"
#include "settings/check_relay_logic.h"
#include "settings/device_transfer.h"

namespace zrm {

namespace {

// The checks on the collected record, then the transfer.
ExchangeResult CheckAndWrite(DeviceSettings& s, ParameterAccess& link, Operator& op) {
  if (ExchangeResult r = CheckRelayLogic(s.general.proc_ver, s.relay, op)) return r;
  if (ExchangeResult r = CheckChannels(s, true, true, op)) return r;
  return WriteDeviceSettings(link, s, op);
}

}  // namespace

ExchangeResult WriteCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                            Operator& op) {
  op.EscPressed();  // an ESC pressed before the command must not stop it
  SelectAllGroups(s, form);
  op.LetMessagesThrough();
  if (ExchangeResult r = CheckFieldTexts(FieldTextsOf(form, s), op)) {
    ShowExchangeError(op, r);
    op.UnlockCommands();
    return r;
  }
  EditorToSettings(form, s, op);
  op.LockCommands();
  ExchangeResult r = CheckAndWrite(s, link, op);
  ShowExchangeError(op, r);
  op.UnlockCommands();
  return r;
}

}  // namespace zrm
