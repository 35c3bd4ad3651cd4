#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/write_command.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/editor_start.h"
#include "cli/interrupt_as_esc.h"
#include "cli/workstation.h"
#include "editor/editor_binding.h"
#include "profiles/profile_file.h"

namespace zrm {

namespace {

// A profile the command line names must exist: loading a missing one would
// create a new profile there and write its content to the instrument.
bool ProfileReadable(const std::string& path, CliOperator& op) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    op.Tell(cli_texts::kNoProfile + path + ": " + std::strerror(EISDIR));
    return false;
  }
  if (access(path.c_str(), R_OK) != 0) {
    op.Tell(cli_texts::kNoProfile + path + ": " + std::strerror(errno));
    return false;
  }
  return true;
}

}  // namespace

int RunWrite(const CliOptions& options, CliOperator& op, std::FILE*) {
  TreatInterruptAsEsc();
  Workstation station(options.dir, op);
  StartedWindow window;
  if (ExchangeResult r = StartWindow(station, options.device, window, op))
    return static_cast<int>(r);
  DeviceSettings& s = window.settings;
  EditorForm& form = window.form;
  const int port_number = window.port_number;

  // The profile opened: the editor collected, the file loaded and shown.
  if (!ProfileReadable(options.file, op)) {
    ShowExchangeError(op, result::kFile);
    return static_cast<int>(result::kFile);
  }
  EditorToSettings(form, s, op);
  const DescriptionLines lines = LoadProfile(options.file, s, op);
  form.description.assign(lines.begin(), lines.end());
  SettingsToEditor(s, form, port_number);

  return static_cast<int>(WriteCommand(form, s, station.InstrumentLink(), op));
}

}  // namespace zrm
