#pragma once
// The wait for one reply line after a request was written.

#include <cstdint>
#include <string>

#include "link/exchange_log.h"
#include "platform/line.h"

namespace zrm {

// The wait never gives up sooner than this, whatever the configured time-out.
inline constexpr std::uint32_t kMinimumReplyWaitMs = 1000;

// A reply longer than this is refused with result 1.
inline constexpr std::size_t kMaxReplyBytes = 256;

struct ReplyWait {
  ExchangeResult result = result::kNoAnswer;  // 0, 1 (overflow) or 2 (no answer)
  std::string reply;  // bytes gathered, echoes of our own request removed
  TimeOfDay start;    // local time, for the log only
  TimeOfDay end;
  std::uint32_t duration_ms = 0;  // measured on the monotonic clock
};

// Reads from `line` until the gathered bytes hold a carriage return (0), grow
// beyond kMaxReplyBytes (1), the line vanishes (2), or more than the time-out
// (at least kMinimumReplyWaitMs) has passed (2). A line starting with 0xFF or
// ":" is our own request echoed by the adapter and is dropped.
ReplyWait WaitForReply(Line& line, std::uint32_t timeout_ms);

// True when the gathered bytes start like our own request (0xFF or ":"), as
// an adapter that echoes what it sends returns it.
bool StartsEcho(const std::string& bytes);

// Removes complete echo lines from the front of the gathered bytes.
void DropEchoLines(std::string& bytes);

}  // namespace zrm
