#pragma once
// The record and the editor as the window holds them after its first start
// in an empty folder, without the files that start leaves behind: the
// content of a new profile, shown in the editor, with today's date as the
// manufacturing date.

#include <string>

#include "cli/workstation.h"
#include "editor/editor_form.h"
#include "link/exchange_result.h"
#include "settings/device_settings.h"

namespace zrm {

class CliOperator;

// What read, write and report start from: the window after its first start,
// with the link open.
struct StartedWindow {
  DeviceSettings settings;
  EditorForm form;
  int port_number = 1;
};

// Loads a new profile the way the window does (a profile file that does not
// exist yet, here in a scratch folder removed again at once), shows it, sets
// today's local date as the manufacturing date and shows the record again.
// 14 (already shown) when no scratch folder can be made.
ExchangeResult StartEditor(DeviceSettings& s, EditorForm& form, int port_number,
                           CliOperator& op);

// StartEditor with the port number of `station`, then the link opened on
// `device` (empty: the configured port). 14 (already shown) as StartEditor.
ExchangeResult StartWindow(Workstation& station, const std::string& device,
                           StartedWindow& window, CliOperator& op);

}  // namespace zrm
