#pragma once
// zrm48d from its arguments to its exit status: the configuration read and
// checked, the Modbus listener and the broker's client made, the lines
// polled until SIGTERM or SIGINT, then everything stopped in order.

#include <cstdio>
#include <string>
#include <vector>

namespace zrm {

inline constexpr int kGatewayUsageExit = 64;        // EX_USAGE
inline constexpr int kGatewayUnavailableExit = 69;  // EX_UNAVAILABLE: listener, TLS files
inline constexpr int kGatewayConfigExit = 78;       // EX_CONFIG

// Runs the daemon; `out` takes --help, --version and --check, `err` the log.
// Blocks SIGTERM and SIGINT in every thread and waits for one of them.
int RunGateway(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace zrm
