#include "link/link.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

#include "link/reply_check.h"

namespace zrm {

namespace {

constexpr std::uint32_t kMinAttempts = 2;
constexpr std::uint32_t kMaxAttempts = 5;

// The status block lives in space 1 at address 2.
constexpr MemorySpace kStatusBlockSpace = 1;
constexpr ParameterAddress kStatusBlockAddress = 2;

// How long after an unanswered request its answer may still arrive: the
// instrument may answer it late and then still owe the answer to the retry.
constexpr unsigned kLateAnswerTimeOuts = 2;

ReplyKind KindOf(WidthCode width) {
  switch (width) {
    case WidthCode::kByte: return ReplyKind::kByte;
    case WidthCode::kDword: return ReplyKind::kDword;
    case WidthCode::kStatusBlock: break;
  }
  return ReplyKind::kStatusBlock;
}

std::chrono::milliseconds WaitLimit(const LinkParams& params) {
  return std::chrono::milliseconds(std::max(params.timeout_ms, params.minimum_wait_ms));
}

}  // namespace

Link::Link(Line& line, LinkParams params, ExchangeLog* log)
    : line_(line), params_(params), log_(log) {
  params_.attempts = std::clamp(params_.attempts, kMinAttempts, kMaxAttempts);
}

ExchangeResult Link::Perform(ParameterOperation& o) {
  switch (o.kind) {
    case OperationKind::kReadByte: {
      std::array<std::uint8_t, 1> data{};
      const ExchangeResult r = Read(o.space, o.address, WidthCode::kByte, data);
      if (r == result::kOk) o.value = data[0];
      return r;
    }
    case OperationKind::kReadDword: {
      std::array<std::uint8_t, 4> data{};
      const ExchangeResult r = Read(o.space, o.address, WidthCode::kDword, data);
      if (r == result::kOk)
        o.value = (std::uint32_t{data[0]} << 24) | (std::uint32_t{data[1]} << 16) |
                  (std::uint32_t{data[2]} << 8) | std::uint32_t{data[3]};
      return r;
    }
    case OperationKind::kWriteByte:
      return Exchange(
          o.space,
          BuildWriteByteRequest(params_.net_address,
                                MakeAddressTriplet(o.space, o.address, WidthCode::kByte), o.value),
          ReplyKind::kWrite, CheckReplyCode);
    case OperationKind::kWriteDword:
      return Exchange(o.space,
                      BuildWriteDwordRequest(
                          params_.net_address,
                          MakeAddressTriplet(o.space, o.address, WidthCode::kDword), o.value),
                      ReplyKind::kWrite, CheckReplyCode);
    case OperationKind::kWriteByteChecked: return ByteCheckedPasses(o.space, o.address, o.value);
    case OperationKind::kWriteFloatChecked:
      return FloatCheckedPasses(o.space, o.address, std::bit_cast<float>(o.value));
    case OperationKind::kReadStatusBlock: return ReadStatus(o.block);
  }
  return result::kNotUnderstood;
}

ExchangeResult Link::ReadStatus(StatusBlock& block) {
  StatusBlock data{};
  const auto triplet =
      MakeAddressTriplet(kStatusBlockSpace, kStatusBlockAddress, WidthCode::kStatusBlock);
  const ExchangeResult r =
      Exchange(kStatusBlockSpace, BuildReadRequest(params_.net_address, triplet),
               ReplyKind::kStatusBlock, [&data](std::string_view reply) {
                 const ExchangeResult code = CheckReplyCode(reply);
                 return code != result::kOk ? code : ParseReadReply(reply, data);
               });
  if (r == result::kOk) block = data;
  return r;
}

ExchangeResult Link::Read(MemorySpace space, ParameterAddress address, WidthCode width,
                          std::span<std::uint8_t> data) {
  const auto triplet = MakeAddressTriplet(space, address, width);
  return Exchange(space, BuildReadRequest(params_.net_address, triplet), KindOf(width),
                  [data](std::string_view reply) { return ParseReadReply(reply, data); });
}

ExchangeResult Link::Exchange(MemorySpace space, const RequestFrame& frame, ReplyKind kind,
                              const ReplyCheck& check) {
  if (!IsValidMemorySpace(space)) return result::kAddressTooBig;
  // A device that vanished earlier (USB adapter pulled), found by an exchange
  // or hung up since, may be back on its path.
  if (!line_.IsOpen() && line_.Reopen()) LineOpened();
  if (!settled_) Settle();
  ExchangeResult r = result::kNoAnswer;
  std::uint32_t attempts = 0;
  std::uint32_t crossings = 0;
  while (attempts < params_.attempts) {
    const AttemptOutcome outcome = Attempt(frame, kind, check);
    r = outcome.result;
    if (outcome.crossed) {
      if (++crossings > params_.attempts) break;
      continue;
    }
    if (r == result::kOk) break;
    ++attempts;
  }
  return r;
}

Link::AttemptOutcome Link::Attempt(const RequestFrame& frame, ReplyKind kind,
                                   const ReplyCheck& check) {
  const bool confirm = Unsettled() || OpenedLately() || std::exchange(confirm_next_, false);
  const ReplyExpectation expectation{
      kind, params_.net_address, params_.timeout_ms,
      confirm ? QuietWindow(kind, params_.speed) : std::chrono::milliseconds(0),
      params_.minimum_wait_ms, params_.speed};
  // A late reply to an earlier attempt must not be taken for this one's.
  line_.DiscardInput();
  line_.Write(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size());
  ReplyWait wait = WaitForReply(line_, expectation);
  last_wait_start_ = wait.start;
  if (log_) {
    std::vector<DiscardedReply> discarded = std::exchange(stale_, {});
    discarded.insert(discarded.end(), wait.discarded.begin(), wait.discarded.end());
    Ignore(log_->LogExchange(
               {frame, wait.reply, wait.start, wait.end, wait.duration_ms, std::move(discarded)}),
           "a log entry that cannot be written must not stop the exchange");
  }
  stale_.clear();

  return Outcome(wait, kind, check);
}

Link::AttemptOutcome Link::Outcome(const ReplyWait& wait, ReplyKind kind, const ReplyCheck& check) {
  const auto unsettle = [this] {
    unsettled_until_ = SteadyClock::now() + kLateAnswerTimeOuts * WaitLimit(params_);
  };
  if (wait.crossed) {
    unsettle();
    return {result::kReplyNotMatched, true};
  }
  if (wait.result == result::kNoAnswer) {
    // The request may still be answered, late, and crossed with later ones.
    unsettle();
    return {wait.discarded.empty() ? result::kNoAnswer : result::kReplyNotMatched, false};
  }
  if (wait.result == result::kTooManyChars) {
    confirm_next_ = true;
    return {result::kTooManyChars, false};
  }
  if (wait.unreadable) {
    confirm_next_ = true;
    return {kind == ReplyKind::kWrite ? result::kUnexpectedFormat : result::kNotUnderstood, false};
  }
  // An answer that stood alone: whatever was owed to a request from before
  // the open came before it.
  first_answer_unconfirmed_ = false;
  return {check(std::string_view(wait.reply.c_str())), false};
}

void Link::Settle() {
  settled_ = true;
  const std::string drained = DrainUntilQuiet(
      line_, QuietWindow(ReplyKind::kStatusBlock, params_.speed), WaitLimit(params_));
  if (!drained.empty()) stale_.push_back({drained, DiscardReason::kStale});
  first_answer_unconfirmed_ = true;
  opened_until_ = SteadyClock::now() + WaitLimit(params_);
}

}  // namespace zrm
