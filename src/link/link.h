#pragma once
// The instrument link: builds request frames, writes them to the line, waits
// for the reply, logs the exchange, checks and decodes the reply, retries.
// One Link owns the exchange context; exchanges never nest.
//
// A reply carries no request number, so the Link matches replies to their
// requests by what can be told: the answering address and the form and
// length of the reply. After a request went unanswered its answer may still
// come late, crossed with a later one; until that danger has passed, an
// answer is taken only when the line stays quiet after it. An unreadable
// line ends its attempt at once, and the retry's answer is checked the same
// way.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/exchange_log.h"
#include "link/link_config.h"
#include "link/operation_access.h"
#include "link/reply_match.h"
#include "link/reply_wait.h"
#include "link/request_frame.h"
#include "platform/line.h"

namespace zrm {

// Link parameters fixed at start from LinkConfig.
struct LinkParams {
  std::uint32_t net_address = 1;
  std::uint32_t attempts = 2;       // 2..5
  std::uint32_t timeout_ms = 1000;  // the wait never ends sooner than minimum_wait_ms
  std::int32_t speed = 9600;        // bit/s: how long a reply lasts on the wire
  // The window's and the command line's waits never end sooner than 1000 ms;
  // the gateway takes its configured time-out down to the line's wire floor.
  std::uint32_t minimum_wait_ms = kMinimumReplyWaitMs;
};

// The link parameters of the workstation configuration.
LinkParams LinkParamsOf(const LinkConfig& config);

class Link : public OperationAccess {
 public:
  // `line` must outlive the Link; `log` may be null (no exchange log). The
  // attempt count is brought into 2..5.
  Link(Line& line, LinkParams params, ExchangeLog* log);

  const LinkParams& Params() const { return params_; }

  // Local time of day at which the last wait began (for the measurement log).
  const TimeOfDay& LastWaitStart() const { return last_wait_start_; }

  // Tells the Link that its line was opened anew: whatever is still on the
  // line (the rest of a reply to another program) is waited out before the
  // next request.
  void LineOpened() { settled_ = false; }

  // Points the following exchanges at another instrument on the same line.
  // What the Link knows about the line (late answers still due) carries
  // over, which is why a bus poller keeps one Link per line.
  void SetNetAddress(std::uint32_t address) { params_.net_address = address; }

  // Sets the shortest wait of the following exchanges (see LinkParams).
  void SetMinimumWait(std::uint32_t ms) { params_.minimum_wait_ms = ms; }

 private:
  // Every parameter operation: one exchange, or the passes of a checked write.
  ExchangeResult Perform(ParameterOperation& operation) override;

  // Write, read back and compare, up to the attempt count of passes; 15 when
  // the read-back never matched (a float within 0.01).
  ExchangeResult ByteCheckedPasses(MemorySpace space, ParameterAddress address,
                                   std::uint32_t value);
  ExchangeResult FloatCheckedPasses(MemorySpace space, ParameterAddress address, float value);

  // Decides whether a complete reply line answers the request; 0 when it does.
  using ReplyCheck = std::function<ExchangeResult(std::string_view reply)>;

  struct AttemptOutcome {
    ExchangeResult result = result::kNoAnswer;
    bool crossed = false;  // two replies came where one was due
  };

  // The status block: its "$" code first, then its sixteen bytes.
  ExchangeResult ReadStatus(StatusBlock& block);

  // Reads `data.size()` bytes from a parameter.
  ExchangeResult Read(MemorySpace space, ParameterAddress address, WidthCode width,
                      std::span<std::uint8_t> data);

  // Sends `frame` up to the attempt count of times until `check` accepts a
  // reply of `kind`; refuses a memory space other than 1 or 2 with 5 before
  // anything is sent. Crossed replies are asked again, as often again as the
  // attempt count allows, and end with 24 when they stay crossed.
  ExchangeResult Exchange(MemorySpace space, const RequestFrame& frame, ReplyKind kind,
                          const ReplyCheck& check);

  // One attempt: discard stale input, write, wait, log, check.
  AttemptOutcome Attempt(const RequestFrame& frame, ReplyKind kind, const ReplyCheck& check);

  // What the wait of an attempt comes to: the check's verdict on an answer;
  // 24 when only replies to other requests came or answers crossed; 3 (a
  // read) or 19 (a write) for an unreadable line. A time-out leaves the link
  // unsettled, an unreadable line or a flood has the next answer confirmed.
  AttemptOutcome Outcome(const ReplyWait& wait, ReplyKind kind, const ReplyCheck& check);

  // Waits out what is left on a line just opened.
  void Settle();

  // Whether answers may still be crossed with late ones.
  bool Unsettled() const { return SteadyClock::now() < unsettled_until_; }

  // Whether the line was opened so lately that another program's request,
  // sent before the open, may still be answered (a program killed while its
  // reply was late). An instrument answers its requests in order, so such a
  // reply comes before the answer to our first request: that answer alone
  // is confirmed, and only until the time-out since the open has passed.
  bool OpenedLately() const {
    return first_answer_unconfirmed_ && SteadyClock::now() < opened_until_;
  }

  Line& line_;
  LinkParams params_;
  ExchangeLog* log_;
  TimeOfDay last_wait_start_{};
  bool settled_ = false;
  // An unreadable line or a flood was taken for the last attempt's reply:
  // the real one may still come, so the next answer must stand alone.
  bool confirm_next_ = false;
  std::vector<DiscardedReply> stale_;  // waited out at open, logged with the next attempt
  SteadyClock::time_point unsettled_until_{};
  bool first_answer_unconfirmed_ = false;
  SteadyClock::time_point opened_until_{};
};

}  // namespace zrm
