#include "bus/bus_config.h"

#include <algorithm>

#include "link/reply_match.h"
#include "link/reply_wait.h"

namespace zrm {

std::uint32_t BusReplyWaitMs(const BusTiming& timing, std::int32_t speed) {
  // A request and the longest reply on the wire, each with its margin.
  const auto floor =
      static_cast<std::uint32_t>(2 * QuietWindow(ReplyKind::kStatusBlock, speed).count());
  return std::max(timing.timeout_ms, timing.short_waits ? floor : kMinimumReplyWaitMs);
}

}  // namespace zrm
