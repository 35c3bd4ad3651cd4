#pragma once
// The four group switches that decide which groups a transfer moves, and
// the marking of their areas in the window.

#include "editor/editor_form.h"
#include "settings/device_settings.h"

namespace zrm {

// Switches on every group (both channels, the relay logic, the general
// parameters) and marks all four areas white, as every device command does
// before its transfer.
void SelectAllGroups(DeviceSettings& s, EditorForm& form);

}  // namespace zrm
