#pragma once
// When the instrument's reply bytes may go out. With line timing on, every
// byte takes 10/baud seconds (8N1), the request is taken to end only when its
// own wire time has passed, and the turnaround follows.

#include <chrono>
#include <cstddef>

#include "lib/received_frame.h"

namespace zrm::sim {

struct LineTiming {
  bool on = false;
  unsigned baud = 9600;
  std::chrono::milliseconds turnaround{5};
};

// Wire time of one byte: start bit, eight data bits, stop bit.
Clock::duration ByteTime(unsigned baud);

// The moment the reply to `frame` starts, `extra` (a delay fault) included.
Clock::time_point ReplyStart(const LineTiming& timing, const ReceivedFrame& frame,
                             Clock::time_point now, Clock::duration extra);

// With line timing, the moment byte `index` of the reply has fully left the
// wire (so it may be handed to the client no sooner).
Clock::time_point ByteDone(const LineTiming& timing, Clock::time_point start, std::size_t index);

}  // namespace zrm::sim
