#include "platform/port_line.h"

#include "platform/platform_texts.h"

namespace zrm {

bool PortLine::Open(const std::string& path, std::int32_t speed, std::string& reason,
                    PortModes modes) {
  Close();
  if (!IsNetworkPath(path)) {
    active_ = &serial_;
    return serial_.Open(path, speed, reason, modes);
  }
  active_ = &network_;
  if (modes.rs485) {
    reason = path + ": " + platform_texts::kRs485NotOnNetwork;
    return false;
  }
  const auto address = ParseNetworkAddress(path);
  if (!address) {
    reason = path + ": " + platform_texts::kBadNetworkAddress;
    return false;
  }
  return network_.Open(*address, path, speed, reason);
}

bool PortLine::SetSpeed(std::int32_t speed, std::string& reason) {
  return active_ == &serial_ ? serial_.SetSpeed(speed, reason)
                             : network_.SetSpeed(speed, reason);
}

void PortLine::Close() {
  serial_.Close();
  network_.Close();
}

}  // namespace zrm
