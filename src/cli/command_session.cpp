#include "cli/command_session.h"

#include "cli/cli_texts.h"
#include "cli/own_terminal.h"
#include "link/link_texts.h"

namespace zrm {

bool StartCommandSession(Session& session, CliOperator& op, const CliOptions& options) {
  if (!options.device.empty() && IsOwnTerminal(options.device)) {
    op.ShowMessage(std::string(link_texts::kCannotOpenPort) + "\n" + options.device +
                       cli_texts::kDeviceIsOwnTerminal,
                   link_texts::kErrorCaption, MessageIcon::kError);
    return false;
  }
  session.UseHistoryDatabase(options.history_url);
  const bool opened =
      session.StartWithoutWindow(op, options.device, PortModes{.rs485 = options.rs485});
  if (const std::string notice = session.TakePortNotice(); !notice.empty()) op.Notice(notice);
  return opened || options.device.empty();
}

}  // namespace zrm
