#include "gateway/gateway_options.h"

#include "gateway/gateway_texts.h"

namespace zrm {

bool ParseGatewayOptions(const std::vector<std::string>& args, GatewayOptions& options,
                         std::string& error) {
  namespace t = gateway_texts;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--check") {
      options.check = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--config" || arg == "-c") {
      if (i + 1 == args.size() || args[i + 1].empty()) {
        error = t::kOptionNeedsValue + arg;
        return false;
      }
      options.config = args[++i];
    } else if (arg.starts_with("--config=") && arg.size() > 9) {
      options.config = arg.substr(9);
    } else {
      error = t::kUnknownOption + arg;
      return false;
    }
  }
  return true;
}

}  // namespace zrm
