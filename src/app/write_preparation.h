#pragma once
// The steps every write of the settings takes before its first frame.

#include "editor/editor_form.h"
#include "link/exchange_result.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Switches every group on; checks the field texts (a bad text stops before
// anything is collected); collects the editor; locks the commands; checks
// the relay logic and the channels, asking the user. Returns the first
// stop or failure, not yet shown; the caller shows it and unlocks.
ExchangeResult PrepareWrite(EditorForm& form, DeviceSettings& s, Operator& op);

}  // namespace zrm
