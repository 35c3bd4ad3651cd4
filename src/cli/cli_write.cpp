#include "app/session.h"
#include "cli/cli_commands.h"
#include "cli/command_session.h"
#include "cli/interrupt_as_esc.h"
#include "cli/profile_argument.h"

namespace zrm {

namespace {

// The whole write, the whole write after a backup, or only the changes. An
// unfinished earlier write into the instrument is told when the write
// replaces its journal entry.
ExchangeResult WriteAsAsked(const CliOptions& options, Session& session, CliOperator& op) {
  if (options.changes_only) {
    ChangesWriteOutcome outcome;
    return session.WriteChanges(session.form, session.settings, op, outcome);
  }
  DeviceSettings instrument;
  if (options.backup) {
    std::string backup_path;
    return session.WriteWithBackup(session.form, session.settings, op, backup_path, instrument);
  }
  return session.Write(session.form, session.settings, op, instrument);
}

}  // namespace

int RunWrite(const CliOptions& options, CliOperator& op, std::FILE*) {
  TreatInterruptAsEsc();
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;

  // The profile opened: the editor collected, the file loaded and shown.
  if (!OpenNamedProfile(session, options.file, op)) return static_cast<int>(result::kFile);
  return static_cast<int>(WriteAsAsked(options, session, op));
}

}  // namespace zrm
