#pragma once
// The lines and instruments a bus poller serves, and how it polls them.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/serial_modes.h"

namespace zrm {

struct BusLineConfig {
  std::string device;  // a serial device path, tcp://HOST:PORT or rfc2217://HOST:PORT
  std::int32_t speed = 9600;
  std::vector<std::uint32_t> addresses;  // polled in this order, each 1..255, no repeats
  PortModes modes = {};                  // a serial device's RS-485 mode
};

struct BusTiming {
  std::uint32_t poll_ms = 0;        // 0: poll as fast as the line allows; else one sweep's period
  std::uint32_t offline_after = 3;  // failed polls in a row before an instrument is offline
  std::uint32_t timeout_ms = 1000;  // reply time-out of one attempt
  std::uint32_t attempts = 2;       // attempts per exchange, 2..5
  // False: a wait never ends sooner than 1000 ms, as in the window. True (the
  // gateway): the time-out is taken as configured, down to the wire time of a
  // request and the longest reply at the line's speed, so that a silent
  // instrument does not hold up its line for seconds.
  bool short_waits = false;
};

// How long an instrument stays silent after it answered the restart
// command; a request sent to it sooner is lost, and costs its line a whole
// time-out.
inline constexpr std::chrono::milliseconds kRestartSilence{300};

// How long one attempt waits for its reply at `speed` under `timing`.
std::uint32_t BusReplyWaitMs(const BusTiming& timing, std::int32_t speed);

}  // namespace zrm
