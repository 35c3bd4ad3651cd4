#include "gateway/stats_json.h"

#include "gateway/json_text.h"

namespace zrm {

std::string StatsJson(const GatewayConfig& config, const std::vector<BusLineStats>& stats) {
  std::string out = "{\"lines\": [";
  for (std::size_t i = 0; i < config.lines.size() && i < stats.size(); ++i) {
    const BusLineStats& s = stats[i];
    out += std::string(i == 0 ? "" : ", ") + "{\"line\": " + JsonString(config.lines[i].name) +
           ", \"device\": " + JsonString(config.lines[i].bus.device) +
           ", \"polls\": " + std::to_string(s.polls) + ", \"failed\": " + std::to_string(s.failed) +
           ", \"sweep_ms\": " + std::to_string(s.sweep_ms) +
           ", \"writes\": " + std::to_string(s.writes) +
           ", \"refused\": " + std::to_string(s.refused) +
           ", \"queued\": " + std::to_string(s.queued) + "}";
  }
  return out + "]}";
}

}  // namespace zrm
