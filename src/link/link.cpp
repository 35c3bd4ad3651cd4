#include "link/link.h"

#include <algorithm>
#include <array>

#include "link/reply_check.h"
#include "link/reply_wait.h"

namespace zrm {

namespace {

constexpr std::uint32_t kMinAttempts = 2;
constexpr std::uint32_t kMaxAttempts = 5;

// The status block lives in space 1 at address 2.
constexpr MemorySpace kStatusBlockSpace = 1;
constexpr ParameterAddress kStatusBlockAddress = 2;

// A zero byte never belongs to a reply line: a reply with one before its CR
// was damaged on the way and cannot be taken apart.
bool DamagedByZeroByte(const std::string& reply) {
  const std::size_t zero = reply.find('\0');
  return zero != std::string::npos && zero < reply.find('\r');
}

}  // namespace

Link::Link(Line& line, LinkParams params, ExchangeLog* log)
    : line_(line), params_(params), log_(log) {
  params_.attempts = std::clamp(params_.attempts, kMinAttempts, kMaxAttempts);
}

ExchangeResult Link::ReadByte(MemorySpace space, ParameterAddress address, std::uint8_t& value) {
  std::array<std::uint8_t, 1> data{};
  const ExchangeResult r = Read(space, address, WidthCode::kByte, data);
  if (r == result::kOk) value = data[0];
  return r;
}

ExchangeResult Link::ReadDword(MemorySpace space, ParameterAddress address,
                               std::uint32_t& value) {
  std::array<std::uint8_t, 4> data{};
  const ExchangeResult r = Read(space, address, WidthCode::kDword, data);
  if (r == result::kOk)
    value = (std::uint32_t{data[0]} << 24) | (std::uint32_t{data[1]} << 16) |
            (std::uint32_t{data[2]} << 8) | std::uint32_t{data[3]};
  return r;
}

ExchangeResult Link::WriteByte(MemorySpace space, ParameterAddress address,
                               std::uint32_t value) {
  const auto triplet = MakeAddressTriplet(space, address, WidthCode::kByte);
  return Exchange(space, BuildWriteByteRequest(params_.net_address, triplet, value),
                  CheckReplyCode);
}

ExchangeResult Link::WriteDword(MemorySpace space, ParameterAddress address,
                                std::uint32_t value) {
  const auto triplet = MakeAddressTriplet(space, address, WidthCode::kDword);
  return Exchange(space, BuildWriteDwordRequest(params_.net_address, triplet, value),
                  CheckReplyCode);
}

ExchangeResult Link::ReadStatusBlock(StatusBlock& block) {
  StatusBlock data{};
  const auto triplet =
      MakeAddressTriplet(kStatusBlockSpace, kStatusBlockAddress, WidthCode::kStatusBlock);
  const ExchangeResult r = Exchange(
      kStatusBlockSpace, BuildReadRequest(params_.net_address, triplet),
      [&data](std::string_view reply) {
        const ExchangeResult code = CheckReplyCode(reply);
        return code != result::kOk ? code : ParseReadReply(reply, data);
      });
  if (r == result::kOk) block = data;
  return r;
}

ExchangeResult Link::Read(MemorySpace space, ParameterAddress address, WidthCode width,
                          std::span<std::uint8_t> data) {
  const auto triplet = MakeAddressTriplet(space, address, width);
  return Exchange(space, BuildReadRequest(params_.net_address, triplet),
                  [data](std::string_view reply) { return ParseReadReply(reply, data); });
}

ExchangeResult Link::Exchange(MemorySpace space, const RequestFrame& frame,
                              const ReplyCheck& check) {
  if (!IsValidMemorySpace(space)) return result::kAddressTooBig;
  // A device that vanished earlier (USB adapter pulled), found by an exchange
  // or hung up since, may be back on its path.
  if (!line_.IsOpen()) line_.Reopen();
  ExchangeResult r = result::kNoAnswer;
  for (std::uint32_t attempt = 0; attempt < params_.attempts; ++attempt) {
    r = Attempt(frame, check);
    if (r == result::kOk) break;
  }
  return r;
}

ExchangeResult Link::Attempt(const RequestFrame& frame, const ReplyCheck& check) {
  // A late reply to an earlier attempt must not be taken for this one's.
  line_.DiscardInput();
  line_.Write(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size());
  const ReplyWait wait = WaitForReply(line_, params_.timeout_ms);
  last_wait_start_ = wait.start;
  if (log_)
    Ignore(log_->LogExchange({frame, wait.reply, wait.start, wait.end, wait.duration_ms}),
           "a log entry that cannot be written must not stop the exchange");

  if (wait.result != result::kOk) return wait.result;
  if (DamagedByZeroByte(wait.reply)) return result::kNotUnderstood;
  return check(std::string_view(wait.reply.c_str()));
}

}  // namespace zrm
