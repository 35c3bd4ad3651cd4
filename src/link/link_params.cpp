#include "link/link.h"

#include <algorithm>

namespace zrm {

LinkParams LinkParamsOf(const LinkConfig& config) {
  LinkParams params;
  params.net_address = config.net_address;
  params.attempts = std::clamp<std::uint32_t>(config.attempts, 2, 5);
  params.timeout_ms = config.timeout_ms;
  return params;
}

}  // namespace zrm
