#include "app/instrument_probe.h"

#include <algorithm>
#include <array>

#include "link/address_triplet.h"
#include "link/reply_check.h"
#include "link/reply_wait.h"

namespace zrm {

namespace {

// The firmware version: space 1, byte 6, read only.
constexpr MemorySpace kFirmwareSpace = 1;
constexpr ParameterAddress kFirmwareAddress = 6;

// The longest one-byte read reply: "!" address ";" two hex digits ";" five
// checksum digits and CR.
constexpr std::size_t kLongestByteReply = 1 + 3 + 1 + 2 + 1 + 5 + 1;
constexpr std::int64_t kBitsPerByte = 10;

// An answer of the address asked is a reply when it carries no code and
// reads; whatever else came (another address's reply, noise) is garbage.
ProbeResult Judge(const ReplyWait& wait) {
  ProbeResult result;
  if (wait.reply.empty() && wait.discarded.empty()) return result;
  result.answer = ProbeAnswer::kGarbled;
  std::array<std::uint8_t, 1> data{};
  if (wait.result != result::kOk || wait.unreadable || CheckReplyCode(wait.reply) != result::kOk ||
      ParseReadReply(wait.reply, data) != result::kOk)
    return result;
  result.answer = ProbeAnswer::kReply;
  result.firmware_version = data[0];
  return result;
}

}  // namespace

RequestFrame ProbeRequest(std::uint32_t address) {
  return BuildReadRequest(address,
                          MakeAddressTriplet(kFirmwareSpace, kFirmwareAddress, WidthCode::kByte));
}

std::chrono::microseconds ProbeWindow(std::int32_t speed, std::uint32_t address,
                                      std::uint32_t margin_ms) {
  const std::size_t bytes = ProbeRequest(address).size() + kLongestByteReply;
  const std::int64_t bits = kBitsPerByte * static_cast<std::int64_t>(bytes);
  const std::int64_t rate = std::max<std::int32_t>(speed, 1);
  return std::chrono::microseconds((bits * 1'000'000 + rate - 1) / rate) +
         std::chrono::milliseconds(margin_ms);
}

ProbeResult Probe(Line& line, std::uint32_t address, std::chrono::microseconds window) {
  line.DiscardInput();
  const RequestFrame request = ProbeRequest(address);
  line.Write(reinterpret_cast<const std::uint8_t*>(request.data()), request.size());
  const ReplyExpectation expectation{ReplyKind::kByte, address, 0, {}};
  const ReplyWait wait = WaitForReplyUntil(line, expectation, SteadyClock::now() + window);
  if (wait.gone) return {ProbeAnswer::kGone, 0};
  return Judge(wait);
}

}  // namespace zrm
