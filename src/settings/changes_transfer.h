#pragma once
// Writing only the parameters that differ from what the instrument holds.

#include <vector>

#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"
#include "settings/written_parameters.h"

namespace zrm {

// Writes the parameters of `changed` (from ChangedParameters) with the
// values of `target`, in the order of the whole write and with its steps:
// channel parameters with read-back; a set point, its hysteresis or its
// type is written with the type first set to 0 and the type written last,
// as the whole write does it; the device bytes without read-back, checked in
// one block once all are written (a byte that failed the check moves from
// `written` to `unfinished`); then the value 47 and the restart, but only
// when something was written. ESC is
// noticed between parameters, never inside a set point's steps. Each
// parameter whose write went through is appended to `written`; when the
// write stops, `unfinished` names what the instrument now holds neither old
// nor new: a set point type still prepared to 0, and the parameter whose
// write did not go through. Returns the first failure unchanged (kUserAbort
// for ESC).
ExchangeResult WriteChangedSettings(ParameterAccess& link, const DeviceSettings& target,
                                    const std::vector<WrittenParameter>& changed, Operator& op,
                                    std::vector<WrittenParameter>& written,
                                    std::vector<WrittenParameter>& unfinished);

}  // namespace zrm
