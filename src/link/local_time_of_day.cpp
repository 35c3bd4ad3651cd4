#include <chrono>
#include <ctime>

#include "link/exchange_log.h"

namespace zrm {

TimeOfDay LocalTimeOfDay() { return LocalTimeOfDay(std::chrono::system_clock::now()); }

TimeOfDay LocalTimeOfDay(std::chrono::system_clock::time_point now) {
  using namespace std::chrono;
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  return TimeOfDay{static_cast<unsigned>(local.tm_hour), static_cast<unsigned>(local.tm_min),
                   static_cast<unsigned>(local.tm_sec), static_cast<unsigned>(millis)};
}

}  // namespace zrm
