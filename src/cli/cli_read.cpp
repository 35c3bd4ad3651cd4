#include <cstdio>

#include "app/session.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/command_session.h"
#include "cli/identity_lines.h"
#include "cli/interrupt_as_esc.h"
#include "cli/unfinished_write_notice.h"
#include "platform/file_kind.h"

namespace zrm {

int RunRead(const CliOptions& options, CliOperator& op, std::FILE* out) {
  // A name that cannot hold a profile (a device, a folder, a link to one) is
  // refused before the first frame, not after the whole read.
  const std::string target = ProfileSaveName(options.file);
  if (const std::string why = NotRegularFileAt(target); !why.empty()) {
    op.Tell(cli_texts::kCannotSaveProfile + target + ": " + why);
    ShowExchangeError(op, result::kFile);
    return static_cast<int>(result::kFile);
  }
  TreatInterruptAsEsc();
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;
  if (ExchangeResult r = session.Read(session.form, session.settings, op))
    return static_cast<int>(r);
  TellUnfinishedWrite(session.Backups().working_dir, session.settings, op);

  // "Сохранить настройки прибора в файл": the editor is collected, then saved.
  if (!session.SaveProfileAs(options.file, op)) {
    ShowExchangeError(op, result::kFile);
    return static_cast<int>(result::kFile);
  }
  std::fputs(IdentityLines(session.settings).c_str(), out);
  std::fflush(out);
  return 0;
}

}  // namespace zrm
