#include <cstdio>

#include "app/session.h"
#include "cli/cli_commands.h"
#include "cli/command_session.h"
#include "cli/interrupt_as_esc.h"
#include "cli/profile_argument.h"
#include "cli/unfinished_write_notice.h"

namespace zrm {

int RunDiff(const CliOptions& options, CliOperator& op, std::FILE* out) {
  TreatInterruptAsEsc();
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;
  if (!OpenNamedProfile(session, options.file, op)) return static_cast<int>(result::kFile);
  DeviceSettings instrument;
  std::vector<SettingDifference> differences;
  if (ExchangeResult r =
          session.Compare(session.form, session.settings, op, instrument, differences))
    return static_cast<int>(r);
  TellUnfinishedWrite(session.Backups().working_dir, instrument, op);
  for (const SettingDifference& d : differences)
    std::fprintf(out, "%s\n", DifferenceLine(d).c_str());
  std::fflush(out);
  return differences.empty() ? 0 : kDiffersExit;
}

int RunBackup(const CliOptions& options, CliOperator& op, std::FILE* out) {
  TreatInterruptAsEsc();
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;
  DeviceSettings instrument;
  if (ExchangeResult r = session.Identify(session.settings, instrument)) {
    ShowExchangeError(op, r);
    return static_cast<int>(r);
  }
  TellUnfinishedWrite(session.Backups().working_dir, instrument, op);
  std::string path;
  if (ExchangeResult r = session.Backup(session.form, session.settings, op, path))
    return static_cast<int>(r);
  std::fprintf(out, "%s\n", path.c_str());
  std::fflush(out);
  return 0;
}

}  // namespace zrm
