#pragma once
// The session every zrm48ctl command works in.

#include "app/session.h"
#include "cli/cli_operator.h"
#include "cli/cli_options.h"

namespace zrm {

// Starts `session` for one command, without a window, on the port the
// options name. False when the device given with --device cannot be opened
// or is the program's own terminal: the reason was told once, and the
// command ends with 2 at once; nothing is sent anywhere, least of all to the
// port dev.dat names.
bool StartCommandSession(Session& session, CliOperator& op, const CliOptions& options);

// The exit status of a command whose --device could not be opened.
inline constexpr int kDeviceNotOpenedExit = static_cast<int>(result::kNoAnswer);

}  // namespace zrm
