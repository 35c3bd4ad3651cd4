#include "link/log_text.h"

#include <charconv>
#include <cstdio>

namespace zrm {

namespace {

// printf("%02u", value).
std::string TwoDigits(unsigned value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  std::string text(digits, result.ptr);
  if (text.size() < 2) text.insert(0, 1, '0');
  return text;
}

}  // namespace

std::string ClockText(const TimeOfDay& time) {
  return TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second);
}

bool AppendToFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

}  // namespace zrm
