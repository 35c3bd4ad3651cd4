#pragma once
// What `zrm48d --check` prints: the configuration as it would run.

#include <string>

#include "gateway/gateway_config.h"

namespace zrm {

// One line each: the file, topics' prefix, poll timing, the broker, the
// Modbus listener, every line with its addresses and unit ids, the writes.
std::string GatewaySummary(const std::string& path, const GatewayConfig& config);

}  // namespace zrm
