#include "platform/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace zrm {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipBlanks(std::string_view text, std::size_t i) {
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  return i;
}

// Whether a number that does not fit a float is too large rather than too
// small: its first significant digit stands at a power of ten of at least 0
// once the exponent is applied. `number` is digits with an optional "." and
// an optional exponent, without a sign.
bool TooLargeForFloat(std::string_view number) {
  const std::size_t e = number.find_first_of("eE");
  const std::string_view mantissa = number.substr(0, e);
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::size_t j = e + 1;
    const bool negative = j < number.size() && number[j] == '-';
    if (j < number.size() && (number[j] == '+' || number[j] == '-')) ++j;
    // Saturates far beyond any float exponent, so huge exponents cannot wrap.
    for (; j < number.size() && IsDigit(number[j]) && exponent < 1000000; ++j)
      exponent = exponent * 10 + (number[j] - '0');
    if (negative) exponent = -exponent;
  }
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return false;
  const long long power = first < point ? static_cast<long long>(point - first - 1)
                                        : -static_cast<long long>(first - point);
  return power + exponent >= 0;
}

}  // namespace

std::string FormatFixed(double value, int width, int precision) {
  char buffer[400];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::fixed, precision);
  std::string text = ec == std::errc() ? std::string(buffer, end) : std::string();
  if (std::isnan(value)) text = std::signbit(value) ? "-nan" : "nan";
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string FormatGeneral(double value, int precision) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::general, precision);
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

bool ScanFloat(std::string_view text, float& value, std::size_t* consumed) {
  std::size_t i = SkipBlanks(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  // An exponent counts only when digits follow it.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  float parsed = 0;
  auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + i, parsed,
                                   std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Like strtof: overflow gives infinity, underflow zero.
    parsed = TooLargeForFloat(text.substr(start, i - start))
                 ? std::numeric_limits<float>::infinity()
                 : 0.0f;
  } else if (ec != std::errc()) {
    return false;
  }
  (void)ptr;
  value = negative ? -parsed : parsed;
  if (consumed) *consumed = i;
  return true;
}

bool ScanUnsigned(std::string_view text, unsigned long long& value, std::size_t* consumed) {
  std::size_t i = SkipBlanks(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size() || !IsDigit(text[i])) return false;
  unsigned long long v = 0;
  bool saturated = false;
  while (i < text.size() && IsDigit(text[i])) {
    unsigned digit = static_cast<unsigned>(text[i] - '0');
    if (v > (std::numeric_limits<unsigned long long>::max() - digit) / 10) saturated = true;
    else v = v * 10 + digit;
    ++i;
  }
  if (saturated) v = std::numeric_limits<unsigned long long>::max();
  value = negative ? (0ULL - v) : v;
  if (consumed) *consumed = i;
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

}  // namespace zrm
