#pragma once
// The live 16-byte status block: slowly moving channel values inside each
// channel's range, status codes, set point flags with hysteresis, relay bits
// from the relay logic, and the scripted front-panel input byte.

#include <array>
#include <cstdint>
#include <optional>

#include "lib/parameter_memory.h"
#include "lib/received_frame.h"

namespace zrm::sim {

using StatusBytes = std::array<std::uint8_t, 16>;

// What a test or a trainer has forced onto the block.
struct StatusScript {
  std::uint8_t input = 0;  // byte 3: buttons and encoder
  std::array<bool, 2> broken{};
  std::array<std::optional<std::uint32_t>, 2> pinned_bits;  // raw value bytes
  std::array<std::optional<std::uint8_t>, 2> pinned_code;
};

namespace status_code {
inline constexpr std::uint8_t kNormal = 0;
inline constexpr std::uint8_t kOutOfRange = 8;
inline constexpr std::uint8_t kBreak = 9;
inline constexpr std::uint8_t kChannelOff = 12;
}  // namespace status_code

class StatusModel {
 public:
  // Live values start their slow swing at `origin`.
  explicit StatusModel(Clock::time_point origin) : origin_(origin) {}

  StatusScript& Script() { return script_; }

  // The block at `now`. Set point flags keep their state from one call to the
  // next so that hysteresis works as on the instrument.
  StatusBytes Block(const ParameterMemory& memory, Clock::time_point now);

  // Forgets the set point states (the instrument restarted).
  void Reset() { setpoint_bits_ = {}; }

 private:
  struct Channel {
    std::uint32_t value_bits = 0;
    std::uint8_t code = status_code::kNormal;
    std::uint8_t flags = 0;
  };

  Channel ChannelState(const ParameterMemory& memory, int channel, double seconds);

  Clock::time_point origin_;
  StatusScript script_;
  std::array<std::uint8_t, 2> setpoint_bits_{};
};

// Relay byte (bit 0 relay 1, bit 1 relay 2) from the relay logic variant of
// channel 1, the relay masks and both channels' flags.
std::uint8_t RelayBits(const ParameterMemory& memory, std::uint8_t flags1, std::uint8_t flags2);

// Whether a set point is active: type 1 falls below, type 2 rises above its
// value; once active it stays so until the value is back beyond the hysteresis.
bool SetPointActive(bool was_active, std::uint32_t type, float value, float threshold,
                    float hysteresis);

}  // namespace zrm::sim
