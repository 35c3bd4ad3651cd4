#pragma once
// The Telnet side of an RFC 2217 port: binary transmission both ways, the
// COM-PORT-OPTION offered and used to set the remote port's speed and 8N1,
// every other option refused. Data bytes of 0xFF travel doubled; commands and
// subnegotiations are taken out of the received stream, which may split them
// anywhere.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

namespace zrm {

class TelnetStream {
 public:
  // What the client says first: WILL and DO BINARY, WILL COM-PORT-OPTION.
  std::string Greeting();

  // The subnegotiations that set `speed` bits per second, 8 data bits, no
  // parity and one stop bit on the remote port.
  static std::string PortSettings(std::int32_t speed);

  // `size` data bytes ready to send: each 0xFF doubled.
  static std::string EscapeData(const std::uint8_t* data, std::size_t size);

  // Takes `size` received bytes: appends their data bytes to `data` and the
  // answers the negotiation needs to `answers` (to be sent at once).
  void Receive(const std::uint8_t* bytes, std::size_t size, std::string& data,
               std::string& answers);

  // True once the server has said DO COM-PORT-OPTION.
  bool ComPortAccepted() const { return com_port_accepted_; }

  // A real server settles the options in a few dozen bytes; one that sends
  // more than this before DO COM-PORT-OPTION is given up, so that whatever it
  // floods is never held in memory.
  static constexpr std::size_t kNegotiationLimit = 4096;

  // True once more than kNegotiationLimit bytes came before the server said
  // DO COM-PORT-OPTION.
  bool NegotiationOverrun() const { return bytes_before_com_port_ > kNegotiationLimit; }

 private:
  enum class State { kData, kCommand, kOption, kSubnegotiation, kSubnegotiationCommand };

  void Negotiate(std::uint8_t verb, std::uint8_t option, std::string& answers);

  State state_ = State::kData;
  std::uint8_t verb_ = 0;
  std::set<std::uint16_t> said_;  // verb << 8 | option, each said once
  bool com_port_accepted_ = false;
  std::size_t bytes_before_com_port_ = 0;  // received while the option was not taken yet
};

}  // namespace zrm
