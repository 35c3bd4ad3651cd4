#pragma once
// The bus poller's events as the daemon hands them on: every change of an
// instrument's availability, and of a failed plant write left unfinished in
// it, logged once, then each sink told.

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "bus/bus_events.h"
#include "gateway/gateway_config.h"
#include "gateway/gateway_log.h"

namespace zrm {

class GatewayEvents : public BusEvents {
 public:
  // `log` and every sink added must outlive the poller that calls this.
  GatewayEvents(const GatewayConfig& config, GatewayLog& log) : config_(config), log_(log) {}

  void Add(BusEvents& sink) { sinks_.push_back(&sink); }

  void OnPolled(const BusSnapshot& snapshot) override;
  void OnAvailability(const BusSnapshot& snapshot) override;
  void OnParameters(const BusSnapshot& snapshot) override {
    for (BusEvents* sink : sinks_) sink->OnParameters(snapshot);
  }
  void OnRepaired(const BusSnapshot& snapshot, const BusWriteOutcome& outcome) override {
    for (BusEvents* sink : sinks_) sink->OnRepaired(snapshot, outcome);
  }
  // Logged with the line's section name; the poller tells each once.
  void OnPortRefused(std::size_t line, const std::string& reason) override;
  void OnPortNotice(std::size_t line, const std::string& text) override;

 private:
  const GatewayConfig& config_;
  GatewayLog& log_;
  std::vector<BusEvents*> sinks_;
  std::mutex mutex_;  // line threads call at once
  std::map<std::pair<std::size_t, std::uint32_t>, BusAvailability> last_;
  std::map<std::pair<std::size_t, std::uint32_t>, bool> unfinished_;
};

}  // namespace zrm
