#include "platform/telnet_stream.h"

#include <utility>

namespace zrm {

namespace {

constexpr std::uint8_t kIac = 255;
constexpr std::uint8_t kDont = 254;
constexpr std::uint8_t kDo = 253;
constexpr std::uint8_t kWont = 252;
constexpr std::uint8_t kWill = 251;
constexpr std::uint8_t kSb = 250;
constexpr std::uint8_t kSe = 240;

constexpr std::uint8_t kBinary = 0;
constexpr std::uint8_t kSuppressGoAhead = 3;
constexpr std::uint8_t kComPort = 44;

// COM-PORT-OPTION commands of the client, with their values.
constexpr std::uint8_t kSetBaudRate = 1;
constexpr std::uint8_t kSetDataSize = 2;
constexpr std::uint8_t kSetParity = 3;
constexpr std::uint8_t kSetStopSize = 4;
constexpr std::uint8_t kEightBits = 8;
constexpr std::uint8_t kNoParity = 1;
constexpr std::uint8_t kOneStopBit = 1;

// Options this side performs, and options it lets the server perform.
bool WeDo(std::uint8_t option) {
  return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}
bool TheyMay(std::uint8_t option) { return option == kBinary || option == kSuppressGoAhead; }

std::string Command(std::uint8_t verb, std::uint8_t option) {
  return {static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

std::string ComPortCommand(std::uint8_t command, const std::string& value) {
  std::string out = {static_cast<char>(kIac), static_cast<char>(kSb), static_cast<char>(kComPort),
                     static_cast<char>(command)};
  out += TelnetStream::EscapeData(reinterpret_cast<const std::uint8_t*>(value.data()),
                                  value.size());
  out += {static_cast<char>(kIac), static_cast<char>(kSe)};
  return out;
}

}  // namespace

std::string TelnetStream::Greeting() {
  std::string out;
  for (auto [verb, option] : {std::pair{kWill, kBinary}, std::pair{kDo, kBinary},
                              std::pair{kWill, kComPort}}) {
    said_.insert(static_cast<std::uint16_t>(verb << 8 | option));
    out += Command(verb, option);
  }
  return out;
}

std::string TelnetStream::PortSettings(std::int32_t speed) {
  const auto bits = static_cast<std::uint32_t>(speed);
  const std::string baud = {static_cast<char>(bits >> 24), static_cast<char>(bits >> 16),
                            static_cast<char>(bits >> 8), static_cast<char>(bits)};
  return ComPortCommand(kSetBaudRate, baud) +
         ComPortCommand(kSetDataSize, std::string(1, static_cast<char>(kEightBits))) +
         ComPortCommand(kSetParity, std::string(1, static_cast<char>(kNoParity))) +
         ComPortCommand(kSetStopSize, std::string(1, static_cast<char>(kOneStopBit)));
}

std::string TelnetStream::EscapeData(const std::uint8_t* data, std::size_t size) {
  std::string out;
  out.reserve(size + 4);
  for (std::size_t i = 0; i < size; ++i) {
    out += static_cast<char>(data[i]);
    if (data[i] == kIac) out += static_cast<char>(kIac);
  }
  return out;
}

void TelnetStream::Receive(const std::uint8_t* bytes, std::size_t size, std::string& data,
                           std::string& answers) {
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = bytes[i];
    if (!com_port_accepted_) ++bytes_before_com_port_;
    switch (state_) {
      case State::kData:
        if (b == kIac) state_ = State::kCommand;
        else data += static_cast<char>(b);
        break;
      case State::kCommand:
        if (b == kIac) {
          data += static_cast<char>(kIac);
          state_ = State::kData;
        } else if (b >= kWill && b <= kDont) {
          verb_ = b;
          state_ = State::kOption;
        } else {
          // A subnegotiation (the server's answers to our settings) or a
          // command without an option (NOP, GA): nothing to do with either.
          state_ = b == kSb ? State::kSubnegotiation : State::kData;
        }
        break;
      case State::kOption:
        Negotiate(verb_, b, answers);
        state_ = State::kData;
        break;
      case State::kSubnegotiation:
        if (b == kIac) state_ = State::kSubnegotiationCommand;
        break;
      case State::kSubnegotiationCommand:
        state_ = b == kSe ? State::kData : State::kSubnegotiation;
        break;
    }
  }
}

void TelnetStream::Negotiate(std::uint8_t verb, std::uint8_t option, std::string& answers) {
  if (verb == kDo && option == kComPort) com_port_accepted_ = true;
  std::uint8_t answer = 0;
  if (verb == kDo) answer = WeDo(option) ? kWill : kWont;
  else if (verb == kWill) answer = TheyMay(option) ? kDo : kDont;
  else return;  // DONT and WONT need no answer
  // Each answer is said once, so two sides never echo each other forever.
  if (!said_.insert(static_cast<std::uint16_t>(answer << 8 | option)).second) return;
  answers += Command(answer, option);
}

}  // namespace zrm
