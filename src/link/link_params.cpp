#include "link/link.h"

namespace zrm {

LinkParams LinkParamsOf(const LinkConfig& config) {
  // The Link brings the attempt count into 2..5 itself.
  return LinkParams{config.net_address, config.attempts, config.timeout_ms, config.speed};
}

}  // namespace zrm
