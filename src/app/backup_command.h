#pragma once
// A backup of the instrument on its own: read its settings and save them
// under backup/ in the working folder.

#include <string>

#include "app/instrument_backup.h"
#include "editor/editor_form.h"
#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Switches every group on, collects the editor (so that fields the read
// does not reach are those a read keeps), reads into a copy and saves it
// (path in `path`). The editor and `s` stay as they were apart from the
// group switches. The result that ended the command is shown once.
ExchangeResult BackupCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                             Operator& op, const BackupPlace& place, std::string& path);

}  // namespace zrm
