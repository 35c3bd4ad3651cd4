#include "bench_host.h"

#include <unistd.h>

#include <ctime>
#include <fstream>
#include <sstream>

namespace zrm::bench {

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &utc);
  return text;
}

std::string ProcessorDescription() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line, model = "unknown processor";
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) != 0) continue;
    const auto colon = line.find(':');
    if (colon != std::string::npos) model = line.substr(colon + 2);
    break;
  }
  return model + ", " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " processors online";
}

std::string LoadAverages() {
  std::ifstream loadavg("/proc/loadavg");
  std::string one, five, fifteen;
  loadavg >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

}  // namespace zrm::bench
