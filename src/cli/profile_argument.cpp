#include "cli/profile_argument.h"

#include <unistd.h>

#include <cerrno>

#include "cli/cli_texts.h"
#include "platform/file_kind.h"
#include "platform/system_reason.h"
#include "profiles/profile_file.h"

namespace zrm {

namespace {

// A line of the command line's own, as CliOperator::Tell prints it.
void Tell(Operator& op, const std::string& text) { op.ShowMessage(text, {}, MessageIcon::kError); }

}  // namespace

bool ProfileUsable(const std::string& path, Operator& op) {
  // A pipe would be read up by the first look and give the load nothing.
  const std::string not_regular = NotRegularFileAt(path);
  if (!not_regular.empty()) {
    Tell(op, cli_texts::kNoProfile + path + ": " + not_regular);
    return false;
  }
  if (access(path.c_str(), R_OK) != 0) {
    Tell(op, cli_texts::kNoProfile + path + ": " + SystemReason(errno));
    return false;
  }
  if (!HoldsProfileKeys(path)) {
    Tell(op, cli_texts::kNotAProfile + path);
    return false;
  }
  return true;
}

bool OpenNamedProfile(Session& session, const std::string& path, Operator& op) {
  if (!ProfileUsable(path, op)) {
    ShowExchangeError(op, result::kFile);
    return false;
  }
  session.OpenProfile(path, op);
  return true;
}

}  // namespace zrm
