#include "app/write_preparation.h"

#include "editor/editor_binding.h"
#include "editor/field_texts.h"
#include "editor/group_switches.h"
#include "settings/check_channels.h"
#include "settings/check_field_texts.h"
#include "settings/check_relay_logic.h"

namespace zrm {

ExchangeResult PrepareWrite(EditorForm& form, DeviceSettings& s, Operator& op) {
  op.EscPressed();  // an ESC pressed before the command must not stop it
  SelectAllGroups(s, form);
  op.LetMessagesThrough();
  if (ExchangeResult r = CheckFieldTexts(FieldTextsOf(form, s), op)) return r;
  EditorToSettings(form, s, op);
  op.LockCommands();
  if (ExchangeResult r = CheckRelayLogic(s.general.proc_ver, s.relay, op)) return r;
  return CheckChannels(s, true, true, op);
}

}  // namespace zrm
