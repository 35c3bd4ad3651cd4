#pragma once
// "Записать изменения": write only the parameters in which the instrument
// differs from the editor, after a backup of what it holds.

#include <string>
#include <vector>

#include "app/instrument_backup.h"
#include "editor/editor_form.h"
#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"
#include "settings/written_parameters.h"

namespace zrm {

// What a write of changes did, for the caller's status line.
struct ChangesWriteOutcome {
  DeviceSettings instrument;              // as read before writing; serial 0 when not read
  std::string backup_path;                // empty when no backup was made
  std::vector<WrittenParameter> written;  // the parameters that went through
  // After a write that stopped: what the instrument holds neither old nor new.
  std::vector<WrittenParameter> unfinished;
};

// The checks before writing, as for the whole write; the instrument read;
// for another instrument a question first; nothing to write is told and
// ends the command with success; otherwise the differences are shown and
// confirmed, the backup saved and the write journalled (no backup or
// journal, no write), and the changed parameters written (see
// WriteChangedSettings); the journal entry goes once the restart was
// answered. A write that stops midway tells what was written, which
// parameters are now neither old nor new, that writing the changes again
// completes it, and where the backup is. The result that ended the command
// is shown once; a No answer ends it with 16.
ExchangeResult WriteChangesCommand(EditorForm& form, DeviceSettings& s, ParameterAccess& link,
                                   Operator& op, const BackupPlace& place,
                                   ChangesWriteOutcome& outcome);

}  // namespace zrm
