#pragma once
// A port that is a serial line over the network, as serial device servers
// and ser2net offer it: "tcp://HOST:PORT" is a raw TCP stream,
// "rfc2217://HOST:PORT" Telnet with the COM-PORT-OPTION, which sets the
// remote port's speed and framing. Any other port path names a local device.

#include <optional>
#include <string>

namespace zrm {

enum class NetworkProtocol { kRawTcp, kRfc2217 };

struct NetworkAddress {
  NetworkProtocol protocol = NetworkProtocol::kRawTcp;
  std::string host;  // a name, an IPv4 address or an IPv6 address without brackets
  std::string port;  // 1..65535, as digits
};

// True when `path` starts with one of the network schemes.
bool IsNetworkPath(const std::string& path);

// The address of a network path; nothing when the path has no network
// scheme or its host or port is missing or not valid.
std::optional<NetworkAddress> ParseNetworkAddress(const std::string& path);

}  // namespace zrm
