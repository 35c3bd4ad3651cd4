#include <cstdio>

#include "app/read_command.h"
#include "app/session.h"
#include "cli/cli_commands.h"
#include "cli/editor_start.h"
#include "cli/identity_lines.h"
#include "cli/interrupt_as_esc.h"
#include "cli/workstation.h"
#include "editor/editor_binding.h"
#include "profiles/profile_file.h"

namespace zrm {

int RunRead(const CliOptions& options, CliOperator& op, std::FILE* out) {
  TreatInterruptAsEsc();
  Workstation station(options.dir, op);
  StartedWindow window;
  if (ExchangeResult r = StartWindow(station, options.device, window, op))
    return static_cast<int>(r);
  DeviceSettings& s = window.settings;
  EditorForm& form = window.form;
  const int port_number = window.port_number;

  if (ExchangeResult r = ReadCommand(form, s, station.InstrumentLink(), op, port_number))
    return static_cast<int>(r);

  // "Сохранить настройки прибора в файл": the editor is collected, then saved.
  EditorToSettings(form, s, op);
  if (!SaveProfile(ProfileSaveName(options.file), s, DescriptionOf(form), op)) {
    ShowExchangeError(op, result::kFile);
    return static_cast<int>(result::kFile);
  }
  std::fputs(IdentityLines(s).c_str(), out);
  std::fflush(out);
  return 0;
}

}  // namespace zrm
