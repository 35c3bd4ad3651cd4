#include "lib/wrong_speed.h"

#include <termios.h>

#include <algorithm>
#include <cstdint>

namespace zrm::sim {
namespace {

struct SpeedCode {
  speed_t code;
  unsigned baud;
};

constexpr SpeedCode kSpeeds[] = {
    {B1200, 1200},   {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200},
    {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
};

}  // namespace

std::optional<unsigned> ClientSpeed(int fd) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) return std::nullopt;
  const speed_t code = cfgetospeed(&settings);
  for (const SpeedCode& s : kSpeeds)
    if (s.code == code) return s.baud;
  return std::nullopt;
}

std::string GarbledReply(const std::string& reply, unsigned instrument_baud, unsigned client_baud) {
  if (reply.empty()) return {};
  // A faster client samples each of the instrument's bytes several times,
  // a slower one merges several into one.
  const std::size_t count =
      std::clamp<std::size_t>(reply.size() * client_baud / std::max(1u, instrument_baud), 1, 256);
  std::string garbage(count, '\0');
  for (std::size_t i = 0; i < count; ++i) {
    const auto source = static_cast<std::uint8_t>(reply[i % reply.size()]);
    // Framing errors leave the high bit set; 0xFF would pass for an echo.
    const auto byte = static_cast<std::uint8_t>((source ^ (0x5A + i)) | 0x80);
    garbage[i] = static_cast<char>(byte == 0xFF ? 0xFE : byte);
  }
  return garbage;
}

}  // namespace zrm::sim
