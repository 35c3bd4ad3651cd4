#pragma once
// The record and the editor as the window holds them after its first start
// in an empty folder, without the files that start leaves behind: the
// content of a new profile, shown in the editor, with today's date as the
// manufacturing date.

#include "editor/editor_form.h"
#include "link/exchange_result.h"
#include "settings/device_settings.h"

namespace zrm {

class CliOperator;

// Loads a new profile the way the window does (a profile file that does not
// exist yet, here in a scratch folder removed again at once), shows it, sets
// today's local date as the manufacturing date and shows the record again.
// 14 (already shown) when no scratch folder can be made.
ExchangeResult StartEditor(DeviceSettings& s, EditorForm& form, int port_number,
                           CliOperator& op);

}  // namespace zrm
