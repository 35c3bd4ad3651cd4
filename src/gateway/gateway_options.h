#pragma once
// The command line of zrm48d.

#include <string>
#include <vector>

namespace zrm {

inline constexpr const char* kDefaultGatewayConfig = "/etc/zrm48/zrm48d.ini";

struct GatewayOptions {
  std::string config = kDefaultGatewayConfig;
  bool check = false;
  bool help = false;
  bool version = false;
};

// Reads the arguments after the program name: --config FILE (or
// --config=FILE), --check, --help, --version. False with `error` on
// anything else.
bool ParseGatewayOptions(const std::vector<std::string>& args, GatewayOptions& options,
                         std::string& error);

}  // namespace zrm
