#pragma once
// The general device parameters inside the whole-image sequences. They are
// moved without read-back and without ESC checks.

#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Firmware version, device type and error display, each under its own step
// text, with the panel shown. On failure the panel is left to the caller.
ExchangeResult ReadGeneralParameters(ParameterAccess& link, DeviceSettings& s, Operator& op);

// Device type and error display, only when gen_select is not 0. On failure
// nothing after it is sent and the panel is left to the caller.
ExchangeResult WriteGeneralParameters(ParameterAccess& link, const DeviceSettings& s,
                                      Operator& op);

// The value 47 at byte 0 and the restart command, which close every write.
// On failure nothing after it is sent and the panel is left to the caller.
ExchangeResult WriteClosingCommands(ParameterAccess& link, Operator& op);

}  // namespace zrm
