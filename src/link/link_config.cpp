#include "link/link_config.h"

namespace zrm {

std::string LinkConfig::PortPath() const {
  if (port_number < 1 || port_number > 4) return {};
  return port_paths[port_number - 1];
}

}  // namespace zrm
