#pragma once
// "Записать в прибор": check the editor's settings and write them to the
// instrument.

#include <string>

#include "app/instrument_backup.h"
#include "editor/editor_form.h"
#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Switches every group on; checks the field texts (a bad text stops before
// anything is collected); collects the editor; checks the relay logic and
// the channels, asking the user; reads the instrument's type, prefix and
// serial number into `instrument` and writes, journalled under `place`'s
// working folder for that instrument: a journal that cannot be saved stops
// the write before its first frame.
// Any stop or failure is shown once before the commands are unlocked. The
// editor is not shown again: corrections the user accepted are in the
// record and the instrument, not in the form. Returns the result that ended
// the command (already shown).
ExchangeResult WriteCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                            Operator& op, const BackupPlace& place, DeviceSettings& instrument);

// The same write after the checks have passed and the instrument's present
// settings were read into `instrument` and saved as a backup (its path in
// `backup_path`), journalled for the instrument read; a backup or journal
// that cannot be saved stops the write before its first frame.
ExchangeResult WriteCommandWithBackup(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                                      Operator& op, const BackupPlace& place,
                                      std::string& backup_path, DeviceSettings& instrument);

}  // namespace zrm
