#pragma once
// When the current values are polled, on a clock the caller supplies (the
// window's timer, or a test's simulated time), in milliseconds of a steady
// clock. The first tick comes 1000 ms after start; each tick sets the next
// one 500 ms later and polls only while the page "Текущие значения" is
// current, the reading is not paused and the link is free. After a poll the
// next tick comes 500 ms after a good one and time-out + 500 ms after a
// failed one, so a missing instrument is asked less often. Every second
// polling tick writes a measurement log line when its poll succeeded.

#include <cstdint>

#include "link/exchange_result.h"

namespace zrm {

// Index of the page "Текущие значения" in the main window's notebook.
inline constexpr int kCurrentValuesPage = 3;

inline constexpr std::uint64_t kFirstTickMs = 1000;
inline constexpr std::uint64_t kPollIntervalMs = 500;
// The longest interval a timer accepts; time-out + 500 is clamped to it.
inline constexpr std::uint64_t kMaxPollIntervalMs = 2147483647;

class PollCadence {
 public:
  // `now_ms`: the clock at start; the first tick is due 1000 ms later.
  PollCadence(std::uint32_t timeout_ms, std::int64_t now_ms);

  // The interval the timer runs with now, and the clock of the next tick.
  std::uint64_t IntervalMs() const { return interval_ms_; }
  std::int64_t NextTickAtMs() const;
  bool TickDue(std::int64_t now_ms) const { return now_ms >= NextTickAtMs(); }

  // A timer tick at `now_ms`: the interval goes back to 500 ms from now, then
  // the tick polls when `page_index` is the current values page, the reading
  // is not paused and `link_busy` is false (a command owns the link). True
  // when the caller is to poll now and report with EndPoll.
  bool BeginTick(std::int64_t now_ms, int page_index, bool link_busy);

  // The poll of this tick ended at `now_ms` with `result`: sets the next
  // interval from then. True when this tick writes the measurement log line
  // (every second polling tick, the first one not, and only when `result`
  // is success: a failed poll measured nothing). Without a poll
  // begun, does nothing and returns false.
  bool EndPoll(std::int64_t now_ms, ExchangeResult result);

  // Paused, no tick polls and no log line is written; resuming goes on with
  // the next tick.
  void SetPaused(bool paused) { paused_ = paused; }
  bool Paused() const { return paused_; }

 private:
  void SetInterval(std::int64_t now_ms, std::uint64_t interval_ms);

  std::uint64_t timeout_ms_;
  std::uint64_t interval_ms_ = kFirstTickMs;
  std::int64_t interval_from_ms_;
  bool poll_running_ = false;
  bool log_due_ = false;  // alternates at each polling tick
  bool paused_ = false;
};

}  // namespace zrm
