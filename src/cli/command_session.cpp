#include "cli/command_session.h"

namespace zrm {

bool StartCommandSession(Session& session, CliOperator& op, const CliOptions& options) {
  const bool opened = session.StartWithoutWindow(op, options.device);
  return opened || options.device.empty();
}

}  // namespace zrm
