#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/session.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/interrupt_as_esc.h"

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
  Session session(options.dir);
  session.StartWithoutWindow(op, options.device);

  // The profile opened: the editor collected, the file loaded and shown.
  if (!ProfileReadable(options.file, op)) {
    ShowExchangeError(op, result::kFile);
    return static_cast<int>(result::kFile);
  }
  session.OpenProfile(options.file, op);
  return static_cast<int>(session.Write(session.form, session.settings, op));
}

}  // namespace zrm
