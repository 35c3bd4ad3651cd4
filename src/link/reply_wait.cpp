#include "link/reply_wait.h"

#include <algorithm>
#include <array>

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

constexpr std::size_t kChunkBytes = 32;

// A reply is complete once it holds a CR that is not part of an echo still
// being received.
bool HoldsCompleteReply(const std::string& bytes) {
  return !StartsEcho(bytes) && bytes.find('\r') != std::string::npos;
}

std::uint32_t ElapsedMs(SteadyClock::time_point since) {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - since).count();
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(ms, 0, UINT32_MAX));
}

ExchangeResult Gather(Line& line, std::string& reply, SteadyClock::time_point deadline) {
  std::array<std::uint8_t, kChunkBytes> chunk{};
  for (;;) {
    const LineRead read = line.Read(chunk.data(), chunk.size(), deadline);
    if (read.status != LineReadStatus::kData) return result::kNoAnswer;
    reply.append(reinterpret_cast<const char*>(chunk.data()), read.count);
    DropEchoLines(reply);
    if (reply.size() > kMaxReplyBytes) return result::kTooManyChars;
    if (HoldsCompleteReply(reply)) return result::kOk;
    if (SteadyClock::now() >= deadline) return result::kNoAnswer;
  }
}

}  // namespace

ReplyWait WaitForReply(Line& line, std::uint32_t timeout_ms) {
  ReplyWait wait;
  const auto started = SteadyClock::now();
  wait.start = LocalTimeOfDay();
  // The wait gives up only when strictly more than the limit has passed.
  const std::uint32_t limit_ms = std::max(timeout_ms, kMinimumReplyWaitMs);
  const auto deadline = started + std::chrono::milliseconds(std::uint64_t{limit_ms} + 1);
  wait.result = Gather(line, wait.reply, deadline);
  wait.end = LocalTimeOfDay();
  wait.duration_ms = ElapsedMs(started);
  return wait;
}

}  // namespace zrm
