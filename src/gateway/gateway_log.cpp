#include "gateway/gateway_log.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "gateway/network_text.h"

namespace zrm {
namespace {

// "2026-12-08 12:00:00.123 ": the local time of day with milliseconds.
std::string TimeStamp() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(floor<std::chrono::seconds>(now));
  const long long millis =
      duration_cast<milliseconds>(now - floor<std::chrono::seconds>(now)).count();
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03lld ", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis);
  return text;
}

// One entry is one line: line breaks inside a message become blanks, and
// any other control character is written as \xNN.
std::string OneLine(std::string_view text) {
  std::string joined(text);
  std::replace_if(
      joined.begin(), joined.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  return ShownNetworkText(joined, joined.size());
}

}  // namespace

void GatewayLog::Write(Level level, std::string_view text) {
  const std::string head =
      for_journal_ ? "<" + std::to_string(static_cast<int>(level)) + ">" : TimeStamp() + "zrm48d: ";
  const std::string line = OneLine(text);
  const std::lock_guard lock(mutex_);
  std::fprintf(out_, "%s%s\n", head.c_str(), line.c_str());
  std::fflush(out_);
}

bool StartedBySystemd() {
  return std::getenv("JOURNAL_STREAM") != nullptr || std::getenv("INVOCATION_ID") != nullptr;
}

}  // namespace zrm
