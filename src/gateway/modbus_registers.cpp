#include "gateway/modbus_registers.h"

#include <algorithm>
#include <bit>

#include "gateway/state_json.h"

namespace zrm {

std::array<std::uint16_t, 2> FloatRegisters(float value) {
  const auto bits = std::bit_cast<std::uint32_t>(value);
  return {static_cast<std::uint16_t>(bits >> 16), static_cast<std::uint16_t>(bits & 0xFFFF)};
}

float FloatFromRegisters(std::uint16_t high, std::uint16_t low) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(high) << 16 | low);
}

std::array<std::uint16_t, kInputRegisterCount> InputRegisters(
    const BusSnapshot& s, std::chrono::steady_clock::time_point now) {
  std::array<std::uint16_t, kInputRegisterCount> r{};
  const auto ch1 = FloatRegisters(s.channel[0].value);
  const auto ch2 = FloatRegisters(s.channel[1].value);
  r[0] = ch1[0];
  r[1] = ch1[1];
  r[2] = ch2[0];
  r[3] = ch2[1];
  r[4] = s.channel[0].status;
  r[5] = s.channel[1].status;
  r[6] = s.channel[0].flags & 0x07;
  r[7] = s.channel[1].flags & 0x07;
  r[8] = s.relay_byte & 0x03;
  r[9] = s.input_byte & 0x7F;
  const auto age = std::chrono::duration_cast<std::chrono::seconds>(now - s.last_answer).count();
  r[10] = static_cast<std::uint16_t>(std::clamp<long long>(age, 0, 65535));
  r[11] = static_cast<std::uint16_t>(DeviceTypeNumber(s.identity.device_type));
  r[12] = static_cast<std::uint16_t>(s.identity.prefix);
  r[13] = static_cast<std::uint16_t>(s.identity.serial_number);
  r[14] = s.availability == BusAvailability::kOnline ? 1 : 0;
  return r;
}

std::chrono::milliseconds StaleAfter(const BusTiming& timing, std::int32_t speed,
                                     std::size_t instruments_on_line) {
  const std::uint64_t worst_sweep = std::max<std::uint64_t>(
      timing.poll_ms, instruments_on_line * timing.attempts * BusReplyWaitMs(timing, speed));
  return std::chrono::milliseconds(timing.offline_after * worst_sweep);
}

bool Servable(const BusSnapshot& s, std::chrono::steady_clock::time_point now,
              std::chrono::milliseconds stale_after) {
  return s.availability == BusAvailability::kOnline && s.has_values &&
         now - s.last_answer <= stale_after;
}

}  // namespace zrm
