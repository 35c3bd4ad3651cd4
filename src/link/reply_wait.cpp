#include "link/reply_wait.h"

#include <algorithm>
#include <array>
#include <thread>

namespace zrm {

bool StartsEcho(const std::string& bytes) {
  return !bytes.empty() && (bytes.front() == '\xFF' || bytes.front() == ':');
}

void DropEchoLines(std::string& bytes) {
  while (StartsEcho(bytes)) {
    const std::size_t cr = bytes.find('\r');
    if (cr == std::string::npos) return;
    bytes.erase(0, cr + 1);
  }
}

namespace {

// One read takes a whole reply.
constexpr std::size_t kChunkBytes = kMaxReplyBytes;

std::uint32_t ElapsedMs(SteadyClock::time_point since) {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - since).count();
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(ms, 0, UINT32_MAX));
}

// A line feed after the CR is no second reply.
bool OnlyLineFeeds(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\n'; });
}

// Sets aside the complete lines at the front of `bytes` that answer another
// request; the verdict on the line now at the front, kOtherRequest when no
// complete line is left.
ReplyVerdict SetAsideOthers(std::string& bytes, const ReplyExpectation& expectation,
                            ReplyWait& wait) {
  for (DropEchoLines(bytes); !StartsEcho(bytes); DropEchoLines(bytes)) {
    const std::size_t cr = bytes.find('\r');
    if (cr == std::string::npos || cr >= kMaxReplyBytes) break;
    const std::string_view line = std::string_view(bytes).substr(0, cr + 1);
    const ReplyVerdict verdict = MatchReply(line, expectation.kind, expectation.net_address);
    if (verdict == ReplyVerdict::kAnswer || verdict == ReplyVerdict::kUnreadable) return verdict;
    wait.discarded.push_back({std::string(line), verdict == ReplyVerdict::kOtherAddress
                                                     ? DiscardReason::kOtherAddress
                                                     : DiscardReason::kOtherRequest});
    bytes.erase(0, cr + 1);
  }
  return ReplyVerdict::kOtherRequest;
}

// An answer begun in `start` cannot end before the rest of its shortest
// form is on the wire: sleeps through that (never past the deadline), so
// that the rest is taken in one read.
void SleepThroughRest(const std::string& start, const ReplyExpectation& expectation,
                      SteadyClock::time_point deadline) {
  if (expectation.speed <= 0) return;
  const std::size_t shortest = ShortestReplyLength(start, expectation.kind);
  if (shortest <= start.size() + 1) return;
  const auto rest = std::chrono::microseconds(
      static_cast<std::int64_t>(shortest - start.size()) * 10'000'000 / expectation.speed);
  std::this_thread::sleep_until(std::min(SteadyClock::now() + rest, deadline));
}

ExchangeResult Gather(Line& line, const ReplyExpectation& expectation, ReplyWait& wait,
                      SteadyClock::time_point deadline) {
  std::array<std::uint8_t, kChunkBytes> chunk{};
  std::string& bytes = wait.reply;
  for (;;) {
    const LineRead read = line.Read(chunk.data(), chunk.size(), deadline);
    wait.gone = read.status == LineReadStatus::kGone;
    if (read.status != LineReadStatus::kData) return result::kNoAnswer;
    bytes.append(reinterpret_cast<const char*>(chunk.data()), read.count);
    const ReplyVerdict front = SetAsideOthers(bytes, expectation, wait);
    const bool complete = front != ReplyVerdict::kOtherRequest;
    // A reply over the limit overflows even when its CR came with it.
    const std::size_t received = complete ? bytes.find('\r') + 1 : bytes.size();
    if (received > kMaxReplyBytes) return result::kTooManyChars;
    if (complete) {
      wait.unreadable = front == ReplyVerdict::kUnreadable;
      return result::kOk;
    }
    if (SteadyClock::now() >= deadline) return result::kNoAnswer;
    SleepThroughRest(bytes, expectation, deadline);
  }
}

// After an answer that may be crossed with another: true when a second
// reply follows it within the quiet window. The answer and whatever followed
// are then set aside, and the line is drained until it is quiet.
bool SecondReplyFollows(Line& line, const ReplyExpectation& expectation, ReplyWait& wait,
                        std::chrono::milliseconds limit) {
  const std::size_t cr = wait.reply.find('\r');
  std::string after = wait.reply.substr(cr + 1);
  if (OnlyLineFeeds(after)) {
    std::array<std::uint8_t, kChunkBytes> chunk{};
    const LineRead read =
        line.Read(chunk.data(), chunk.size(), SteadyClock::now() + expectation.quiet);
    if (read.status == LineReadStatus::kData)
      after.append(reinterpret_cast<const char*>(chunk.data()), read.count);
  }
  if (OnlyLineFeeds(after)) return false;
  wait.discarded.push_back({wait.reply.substr(0, cr + 1), DiscardReason::kCrossed});
  after += DrainUntilQuiet(line, expectation.quiet, limit);
  wait.discarded.push_back({after, DiscardReason::kCrossed});
  wait.reply.clear();
  return true;
}

}  // namespace

ReplyWait WaitForReply(Line& line, const ReplyExpectation& expectation) {
  // The wait gives up only when strictly more than the limit has passed.
  const std::chrono::milliseconds limit{std::max(expectation.timeout_ms, expectation.minimum_wait_ms)};
  return WaitForReplyUntil(line, expectation,
                           SteadyClock::now() + limit + std::chrono::milliseconds(1));
}

ReplyWait WaitForReplyUntil(Line& line, const ReplyExpectation& expectation,
                            SteadyClock::time_point deadline) {
  ReplyWait wait;
  const auto started = SteadyClock::now();
  wait.start = LocalTimeOfDay();
  wait.result = Gather(line, expectation, wait, deadline);
  const auto drain_limit = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::max(deadline - started, SteadyClock::duration(expectation.quiet)));
  if (wait.result == result::kOk && !wait.unreadable && expectation.quiet.count() > 0 &&
      SecondReplyFollows(line, expectation, wait, drain_limit)) {
    wait.result = result::kNoAnswer;
    wait.crossed = true;
  }
  wait.end = LocalTimeOfDay();
  wait.duration_ms = ElapsedMs(started);
  return wait;
}

std::string DrainUntilQuiet(Line& line, std::chrono::milliseconds quiet,
                            std::chrono::milliseconds limit) {
  std::string drained;
  std::array<std::uint8_t, kChunkBytes> chunk{};
  const auto give_up = SteadyClock::now() + limit;
  for (;;) {
    const auto now = SteadyClock::now();
    if (now >= give_up) break;
    const LineRead read = line.Read(chunk.data(), chunk.size(), std::min(now + quiet, give_up));
    if (read.status != LineReadStatus::kData) break;
    drained.append(reinterpret_cast<const char*>(chunk.data()), read.count);
  }
  line.DiscardInput();
  return drained;
}

}  // namespace zrm
