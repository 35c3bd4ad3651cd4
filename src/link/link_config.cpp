#include "link/link_config.h"

namespace zrm {

std::string LinkConfig::PortPath() const {
  if (port_number < 1 || port_number > 4) return {};
  return port_paths[port_number - 1];
}

PortModes LinkConfig::PortModesInUse() const {
  if (port_number < 1 || port_number > 4) return {};
  return {.rs485 = port_rs485[port_number - 1]};
}

std::string PathInFolder(const std::string& dir, const std::string& name) {
  if (!name.empty() && name.front() == '/') return name;
  return dir + "/" + name;
}

}  // namespace zrm
