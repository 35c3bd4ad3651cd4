#include "monitor/poll_cadence.h"

#include <algorithm>

namespace zrm {

PollCadence::PollCadence(std::uint32_t timeout_ms, std::int64_t now_ms)
    : timeout_ms_(timeout_ms), interval_from_ms_(now_ms) {}

std::int64_t PollCadence::NextTickAtMs() const {
  // The interval is at most 2^31 - 1, so the sum stays far inside 64 bits.
  return interval_from_ms_ + static_cast<std::int64_t>(interval_ms_);
}

bool PollCadence::BeginTick(std::int64_t now_ms, int page_index, bool link_busy) {
  SetInterval(now_ms, kPollIntervalMs);
  if (page_index != kCurrentValuesPage || paused_ || link_busy || poll_running_) return false;
  poll_running_ = true;
  return true;
}

bool PollCadence::EndPoll(std::int64_t now_ms, ExchangeResult result) {
  if (!poll_running_) return false;
  poll_running_ = false;
  SetInterval(now_ms, result == result::kOk ? kPollIntervalMs : timeout_ms_ + kPollIntervalMs);
  // A failed poll measured nothing: its line would repeat the last values
  // as if they were new. The gap in the time stamps shows the outage.
  const bool write_line = log_due_ && result == result::kOk;
  log_due_ = !log_due_;
  return write_line;
}

void PollCadence::SetInterval(std::int64_t now_ms, std::uint64_t interval_ms) {
  interval_ms_ = std::min(interval_ms, kMaxPollIntervalMs);
  interval_from_ms_ = now_ms;
}

}  // namespace zrm
