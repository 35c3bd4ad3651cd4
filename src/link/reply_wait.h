#pragma once
// The wait for one reply line after a request was written. Lines that do not
// answer the request (another instrument's, a late answer to another request,
// noise) are set aside and the wait goes on.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "link/exchange_log.h"
#include "link/reply_match.h"
#include "platform/line.h"

namespace zrm {

// The wait never gives up sooner than this, whatever the configured time-out.
inline constexpr std::uint32_t kMinimumReplyWaitMs = 1000;

// A reply longer than this is refused with result 1.
inline constexpr std::size_t kMaxReplyBytes = 256;

// What the wait is for.
struct ReplyExpectation {
  ReplyKind kind = ReplyKind::kByte;
  std::uint32_t net_address = 1;
  std::uint32_t timeout_ms = 1000;
  // Zero: the first answer is taken at once. Otherwise answers may be
  // crossed (a request timed out lately), and an answer is taken only when
  // nothing follows it for this long.
  std::chrono::milliseconds quiet{0};
  // The wait never gives up sooner than this, whatever `timeout_ms` says.
  std::uint32_t minimum_wait_ms = kMinimumReplyWaitMs;
  // The line's bit/s: once an answer has begun, the wait sleeps through the
  // wire time of what must still come and takes it in one read, instead of
  // waking for every byte. 0: every byte is taken as it comes.
  std::int32_t speed = 0;
};

struct ReplyWait {
  ExchangeResult result = result::kNoAnswer;  // 0, 1 (overflow) or 2 (nothing taken)
  bool gone = false;                          // with 2: the device vanished
  bool unreadable = false;  // with 0: the line that came is neither a reply nor a code
  bool crossed = false;     // a second reply followed the answer at once: neither is taken
  std::string reply;        // the answer (and bytes after its CR), else what was gathered
  std::vector<DiscardedReply> discarded;  // lines set aside, in arrival order
  TimeOfDay start;                        // local time, for the log only
  TimeOfDay end;
  std::uint32_t duration_ms = 0;  // measured on the monotonic clock
};

// Reads from `line` until an answer to the request or an unreadable line
// arrives (0), the line being received grows beyond kMaxReplyBytes (1), the
// line vanishes (2), or more than the time-out (at least the expectation's minimum wait)
// has passed (2). A line starting with 0xFF or ":" is our own request echoed
// by the adapter and is dropped; a reply to another request or from another
// instrument is set aside in `discarded`, and the wait goes on.
ReplyWait WaitForReply(Line& line, const ReplyExpectation& expectation);

// The same wait with a deadline of its own instead of the time-out, for the
// instrument search's short probes.
ReplyWait WaitForReplyUntil(Line& line, const ReplyExpectation& expectation,
                            SteadyClock::time_point deadline);

// Reads and throws away whatever arrives until the line has been quiet for
// `quiet`, or `limit` has passed; returns what it threw away.
std::string DrainUntilQuiet(Line& line, std::chrono::milliseconds quiet,
                            std::chrono::milliseconds limit);

// True when the gathered bytes start like our own request (0xFF or ":"), as
// an adapter that echoes what it sends returns it.
bool StartsEcho(const std::string& bytes);

// Removes complete echo lines from the front of the gathered bytes.
void DropEchoLines(std::string& bytes);

}  // namespace zrm
