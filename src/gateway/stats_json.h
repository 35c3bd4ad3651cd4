#pragma once
// The gateway's own figures for the plant, published as P/gateway/stats:
// per line the polls, the failed ones, the last sweep's time, the writes
// done and refused and the queue.

#include <string>
#include <vector>

#include "bus/bus_events.h"
#include "gateway/gateway_config.h"

namespace zrm {

// {"lines": [{"line": "LINE1", "device": "/dev/ttyUSB0", "polls": 120, "failed": 0,
// "sweep_ms": 590, "writes": 2, "refused": 0, "queued": 0}, …]}, lines in
// configuration order; `stats` holds one entry per line of `config`.
std::string StatsJson(const GatewayConfig& config, const std::vector<BusLineStats>& stats);

}  // namespace zrm
