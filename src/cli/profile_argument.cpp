#include "cli/profile_argument.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "cli/cli_texts.h"
#include "profiles/profile_file.h"

namespace zrm {

bool ProfileUsable(const std::string& path, CliOperator& op) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    op.Tell(cli_texts::kNoProfile + path + ": " + std::strerror(EISDIR));
    return false;
  }
  if (access(path.c_str(), R_OK) != 0) {
    op.Tell(cli_texts::kNoProfile + path + ": " + std::strerror(errno));
    return false;
  }
  if (!HoldsProfileKeys(path)) {
    op.Tell(cli_texts::kNotAProfile + path);
    return false;
  }
  return true;
}

bool OpenNamedProfile(Session& session, const std::string& path, CliOperator& op) {
  if (!ProfileUsable(path, op)) {
    ShowExchangeError(op, result::kFile);
    return false;
  }
  session.OpenProfile(path, op);
  return true;
}

}  // namespace zrm
