#include "lib/line_timing.h"

#include <algorithm>

namespace zrm::sim {

namespace {
constexpr long long kBitsPerByte = 10;
}

Clock::duration ByteTime(unsigned baud) {
  // Rounded up, so that a reply is never early.
  const long long rate = std::max(1u, baud);
  const auto nanos = std::chrono::nanoseconds((kBitsPerByte * 1'000'000'000LL + rate - 1) / rate);
  return std::chrono::ceil<Clock::duration>(nanos);
}

Clock::time_point ReplyStart(const LineTiming& timing, const ReceivedFrame& frame,
                             Clock::time_point now, Clock::duration extra) {
  Clock::time_point request_end = now;
  if (timing.on) {
    const Clock::duration wire = ByteTime(timing.baud) * static_cast<long long>(frame.raw.size());
    request_end = std::max<Clock::time_point>(now, frame.first_byte + wire);
  }
  return request_end + timing.turnaround + extra;
}

Clock::time_point ByteDone(const LineTiming& timing, Clock::time_point start, std::size_t index) {
  const Clock::duration done = ByteTime(timing.baud) * static_cast<long long>(index + 1);
  return start + done;
}

}  // namespace zrm::sim
