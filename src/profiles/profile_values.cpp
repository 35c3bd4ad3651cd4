#include "profiles/profile_values.h"

#include <limits>

#include "platform/cp1251.h"
#include "platform/number_text.h"

namespace zrm {

namespace {

// A float text counts this many characters; the rest is ignored.
constexpr std::size_t kFloatTextChars = 16;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::uint32_t> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::optional<std::uint64_t> ParseDecimal(std::string_view digits) {
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseProfileInt(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const bool dollar = text.substr(0, 1) == "$";
  const bool zero_x = text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X";
  if (dollar || zero_x) {
    const auto pattern = ParseHex(text.substr(dollar ? 1 : 2));
    if (!pattern) return std::nullopt;
    const std::uint32_t bits = negative ? 0u - *pattern : *pattern;
    return static_cast<std::int32_t>(bits);
  }
  // Leading zeros do not count against the length limit.
  while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
  const auto magnitude = ParseDecimal(text);
  const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
  if (!magnitude || *magnitude > limit) return std::nullopt;
  const auto wide = static_cast<std::int64_t>(*magnitude);
  return static_cast<std::int32_t>(negative ? -wide : wide);
}

void ParseProfileFloat(std::string_view text, float& field) {
  float value = 0;
  if (ScanFloat(Utf8Prefix(text, kFloatTextChars), value)) field = value;
}

std::string FormatProfileFloat(float value) {
  const std::string fixed = Format84(value);
  float read_back = std::numeric_limits<float>::quiet_NaN();
  ParseProfileFloat(fixed, read_back);
  return read_back == value ? fixed : FormatGeneral(value, 9);
}

}  // namespace zrm
