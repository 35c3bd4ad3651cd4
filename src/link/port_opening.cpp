#include "link/port_opening.h"

#include "link/link_texts.h"

namespace zrm {

bool OpenPort(PortLine& port, const std::string& path, std::int32_t speed, Operator& op,
              PortModes modes) {
  std::string reason;
  if (port.Open(path, speed, reason, modes)) return true;
  op.ShowMessage(std::string(link_texts::kCannotOpenPort) + "\n" + reason,
                 link_texts::kErrorCaption, MessageIcon::kError);
  return false;
}

bool OpenConfiguredPort(PortLine& port, const LinkConfig& config, Operator& op,
                        PortModes asked) {
  const std::string path = config.PortPath();
  if (path.empty()) {
    port.Close();
    return false;
  }
  return OpenPort(port, path, config.speed, op,
                  {.rs485 = asked.rs485 || config.PortModesInUse().rs485});
}

}  // namespace zrm
