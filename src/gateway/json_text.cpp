#include "gateway/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace zrm {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string JsonFloat(float value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return std::string(text, end);
}

std::string LocalIsoTime(std::chrono::system_clock::time_point time) {
  using namespace std::chrono;
  const auto whole = floor<seconds>(time);
  const std::time_t since_epoch = system_clock::to_time_t(whole);
  const long long millis = duration_cast<milliseconds>(time - whole).count();
  std::tm local{};
  localtime_r(&since_epoch, &local);
  const long offset_minutes = local.tm_gmtoff / 60;
  const long offset_abs = offset_minutes < 0 ? -offset_minutes : offset_minutes;
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03lld%c%02ld:%02ld",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, millis, offset_minutes < 0 ? '-' : '+', offset_abs / 60,
                offset_abs % 60);
  return text;
}

}  // namespace zrm
