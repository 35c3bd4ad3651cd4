#include "link/reply_check.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace zrm {

namespace {

struct ReplyCode {
  std::string_view code;
  ExchangeResult result;
};

// Searched in this order; the first code found anywhere in the reply decides.
constexpr std::array<ReplyCode, 9> kReplyCodes = {{
    {"$0000", result::kOk},
    {"$0001", result::kDeviceError},
    {"$0002", result::kUnexpectedFormat},
    {"$0003", result::kParameterNotFound},
    {"$0005", result::kDeviceError},
    {"$0006", result::kOperandTooBig},
    {"$000B", result::kNotUnderstood},
    {"$000C", result::kModuleAddressTooBig},
    {"$000D", result::kChecksum},
}};

// The farthest index at which the "!" of a read reply is accepted.
constexpr std::size_t kLastBangIndex = 64;

std::optional<std::uint8_t> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return std::nullopt;
}

std::optional<std::uint8_t> HexByteAt(std::string_view text, std::size_t pos) {
  if (pos + 2 > text.size()) return std::nullopt;
  const auto high = HexDigit(text[pos]);
  const auto low = HexDigit(text[pos + 1]);
  if (!high || !low) return std::nullopt;
  return static_cast<std::uint8_t>((*high << 4) | *low);
}

}  // namespace

ExchangeResult CheckReplyCode(std::string_view reply) {
  if (reply.find('$') == std::string_view::npos) return result::kOk;
  for (const ReplyCode& entry : kReplyCodes)
    if (reply.find(entry.code) != std::string_view::npos) return entry.result;
  return result::kDeviceError;
}

ExchangeResult ParseReadReply(std::string_view reply, std::span<std::uint8_t> data) {
  const std::size_t bang = reply.find('!');
  if (bang == std::string_view::npos || reply.find(';') == std::string_view::npos)
    return result::kNotUnderstood;
  if (bang > kLastBangIndex) return result::kTooManyChars;

  // The responding address runs from after "!" to the next ";".
  const std::size_t address_end = reply.find(';', bang + 1);
  if (address_end == std::string_view::npos) return result::kNotUnderstood;

  std::vector<std::uint8_t> bytes;
  std::size_t pos = address_end + 1;
  for (std::size_t i = 0; i < data.size(); ++i, pos += 2) {
    const auto byte = HexByteAt(reply, pos);
    if (!byte) return result::kNotUnderstood;
    bytes.push_back(*byte);
  }
  if (data.size() == 1 && reply.find(';', pos) == std::string_view::npos)
    return result::kNotUnderstood;

  std::copy(bytes.begin(), bytes.end(), data.begin());
  return result::kOk;
}

}  // namespace zrm
