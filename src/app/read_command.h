#pragma once
// "Прочитать из прибора": read the instrument's whole settings image into the
// record and show it in the editor.

#include "editor/editor_form.h"
#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Switches every group on, collects the editor (so that fields the read
// does not reach keep what the window showed), reads, shows a failure once,
// unlocks the commands and shows the record again, after a failure too: the
// fields read before it then show their new values. Returns the read's
// result (already shown).
ExchangeResult ReadCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                           Operator& op, int port_number);

}  // namespace zrm
