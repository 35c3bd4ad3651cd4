#pragma once
// "Сравнить с прибором": read the instrument and list how its settings
// differ from what a write of the editor would send.

#include <vector>

#include "editor/editor_form.h"
#include "editor/settings_comparison.h"
#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Switches every group on and collects the editor into `s` as a write
// does (without the checks, which may change values only when writing),
// reads the instrument into `instrument` (a copy of `s` first) and fills
// `differences`. A failed read is shown once; `differences` is then empty.
// The form and the editor are not shown again: the comparison changes
// nothing the user sees.
ExchangeResult CompareCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                              Operator& op, DeviceSettings& instrument,
                              std::vector<SettingDifference>& differences);

}  // namespace zrm
