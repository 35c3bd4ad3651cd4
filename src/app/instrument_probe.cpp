#include "app/instrument_probe.h"

#include <algorithm>
#include <array>
#include <string>

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

// The read reply must come from the address asked: on a bus another
// instrument's late reply is no answer from this one.
bool FromAddress(const std::string& reply, std::uint32_t address) {
  const std::string head = "!" + std::to_string(address) + ";";
  return reply.find(head) != std::string::npos;
}

ProbeResult Judge(const std::string& bytes, std::uint32_t address) {
  ProbeResult result;
  if (bytes.empty()) return result;
  result.answer = ProbeAnswer::kGarbled;
  std::array<std::uint8_t, 1> data{};
  if (bytes.find('\r') == std::string::npos || bytes.find('\0') != std::string::npos ||
      CheckReplyCode(bytes) != result::kOk || ParseReadReply(bytes, data) != result::kOk ||
      !FromAddress(bytes, address))
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
  const SteadyClock::time_point deadline = SteadyClock::now() + window;
  std::string bytes;
  std::array<std::uint8_t, 64> chunk{};
  while (bytes.size() <= kMaxReplyBytes) {
    const LineRead read = line.Read(chunk.data(), chunk.size(), deadline);
    if (read.status == LineReadStatus::kGone) return {ProbeAnswer::kGone, 0};
    if (read.status == LineReadStatus::kTimedOut) break;
    bytes.append(reinterpret_cast<const char*>(chunk.data()), read.count);
    DropEchoLines(bytes);
    if (!StartsEcho(bytes) && bytes.find('\r') != std::string::npos) break;
  }
  if (StartsEcho(bytes)) bytes.clear();  // only the request's own echo came back
  return Judge(bytes, address);
}

}  // namespace zrm
