#include "platform/network_address.h"

#include <charconv>
#include <string_view>

namespace zrm {

namespace {

constexpr std::string_view kRawScheme = "tcp://";
constexpr std::string_view kRfc2217Scheme = "rfc2217://";

bool ValidPort(std::string_view digits) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size() && value >= 1 &&
         value <= 65535;
}

}  // namespace

bool IsNetworkPath(const std::string& path) {
  return path.starts_with(kRawScheme) || path.starts_with(kRfc2217Scheme);
}

std::optional<NetworkAddress> ParseNetworkAddress(const std::string& path) {
  NetworkAddress address;
  std::string_view rest = path;
  if (rest.starts_with(kRawScheme)) {
    rest.remove_prefix(kRawScheme.size());
  } else if (rest.starts_with(kRfc2217Scheme)) {
    address.protocol = NetworkProtocol::kRfc2217;
    rest.remove_prefix(kRfc2217Scheme.size());
  } else {
    return std::nullopt;
  }
  const std::size_t colon = rest.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view host = rest.substr(0, colon);
  const std::string_view port = rest.substr(colon + 1);
  // "[::1]:4000": the brackets keep an IPv6 address's colons apart.
  if (host.starts_with('[') && host.ends_with(']')) host = host.substr(1, host.size() - 2);
  if (host.empty() || host.find_first_of("[]/ ") != std::string_view::npos || !ValidPort(port))
    return std::nullopt;
  address.host = host;
  address.port = port;
  return address;
}

}  // namespace zrm
