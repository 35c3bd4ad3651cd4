#include "lib/status_model.h"

#include <bit>
#include <chrono>
#include <cmath>

#include "lib/parameter_table.h"

namespace zrm::sim {
namespace {

constexpr std::uint8_t kFlagSetPoint1 = 0x01;
constexpr std::uint8_t kFlagSetPoint2 = 0x02;
constexpr std::uint8_t kFlagBreak = 0x04;
constexpr std::uint8_t kEventBits = 0x07;
constexpr std::uint32_t kRelayLogicSimple = 0;
constexpr std::uint32_t kRelayLogicExtended = 1;
constexpr std::uint32_t kTypeFall = 1;
constexpr std::uint32_t kTypeRise = 2;
// Each channel swings through 90 % of its range; periods differ so the two
// channels do not move in step.
constexpr double kSwingPeriodSeconds[2] = {120.0, 90.0};
constexpr double kSwingPhase[2] = {0.0, 1.3};
constexpr double kSwingDepth = 0.45;
constexpr double kPi = 3.14159265358979323846;

// Channel parameters the block depends on: base address and channel step.
struct ChannelSlot {
  unsigned base;
  unsigned step;
};
constexpr ChannelSlot kUse{341, 1};
constexpr ChannelSlot kDiapMin{13, 1};
constexpr ChannelSlot kDiapMax{15, 1};
constexpr ChannelSlot kThType1{327, 4};
constexpr ChannelSlot kThType2{328, 4};
constexpr ChannelSlot kTh1{29, 4};
constexpr ChannelSlot kTh2{30, 4};
constexpr ChannelSlot kHis1{37, 4};
constexpr ChannelSlot kHis2{38, 4};
constexpr unsigned kVerRelProcChannel1 = 325;
constexpr unsigned kRelay1Mask0 = 6;  // then relay 1 mask 1, relay 2 masks 0 and 1

float FloatAt(const ParameterMemory& memory, ChannelSlot slot, int channel) {
  return memory.Float(ChannelAddress(slot.base, slot.step, channel)).value_or(0.0f);
}

std::uint32_t ByteAt(const ParameterMemory& memory, ChannelSlot slot, int channel) {
  return memory.Byte(2, ChannelAddress(slot.base, slot.step, channel)).value_or(0);
}

float LiveValue(float low, float high, int index, double seconds) {
  if (!std::isfinite(low) || !std::isfinite(high) || high <= low) return low;
  const double phase = 2.0 * kPi * seconds / kSwingPeriodSeconds[index] + kSwingPhase[index];
  return static_cast<float>(low + (high - low) * (0.5 + kSwingDepth * std::sin(phase)));
}

void PutBigEndian(StatusBytes& block, std::size_t at, std::uint32_t bits) {
  for (std::size_t i = 0; i < 4; ++i) {
    block[at + i] = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
  }
}

}  // namespace

bool SetPointActive(bool was_active, std::uint32_t type, float value, float threshold,
                    float hysteresis) {
  if (std::isnan(value)) return false;
  if (type == kTypeRise) return was_active ? value > threshold - hysteresis : value > threshold;
  if (type == kTypeFall) return was_active ? value < threshold + hysteresis : value < threshold;
  return false;
}

std::uint8_t RelayBits(const ParameterMemory& memory, std::uint8_t flags1, std::uint8_t flags2) {
  const std::uint32_t variant = memory.Byte(2, kVerRelProcChannel1).value_or(0);
  if (variant == kRelayLogicSimple) {
    return static_cast<std::uint8_t>(((flags1 & kFlagSetPoint1) ? 0x01 : 0) |
                                     ((flags1 & kFlagSetPoint2) ? 0x02 : 0));
  }
  if (variant != kRelayLogicExtended) return 0;  // valve control: the regulator drives them
  std::uint8_t relays = 0;
  for (unsigned relay = 0; relay < 2; ++relay) {
    const std::uint8_t mask0 = memory.Byte(2, kRelay1Mask0 + 2 * relay).value_or(0);
    const std::uint8_t mask1 = memory.Byte(2, kRelay1Mask0 + 1 + 2 * relay).value_or(0);
    if ((mask0 & flags1 & kEventBits) != 0 || (mask1 & flags2 & kEventBits) != 0) {
      relays = static_cast<std::uint8_t>(relays | (1u << relay));
    }
  }
  return relays;
}

StatusModel::Channel StatusModel::ChannelState(const ParameterMemory& memory, int channel,
                                               double seconds) {
  const int index = channel - 1;
  Channel state;
  if (ByteAt(memory, kUse, channel) == 1) {  // `use`: channel taken out of work
    setpoint_bits_[index] = 0;
    state.code = script_.pinned_code[index].value_or(status_code::kChannelOff);
    state.value_bits = script_.pinned_bits[index].value_or(0);
    return state;
  }
  const float low = FloatAt(memory, kDiapMin, channel);
  const float high = FloatAt(memory, kDiapMax, channel);
  state.value_bits = script_.pinned_bits[index].value_or(
      std::bit_cast<std::uint32_t>(LiveValue(low, high, index, seconds)));
  const float value = std::bit_cast<float>(state.value_bits);

  std::uint8_t bits = setpoint_bits_[index];
  const bool sp1 = SetPointActive(bits & kFlagSetPoint1, ByteAt(memory, kThType1, channel), value,
                                  FloatAt(memory, kTh1, channel), FloatAt(memory, kHis1, channel));
  const bool sp2 = SetPointActive(bits & kFlagSetPoint2, ByteAt(memory, kThType2, channel), value,
                                  FloatAt(memory, kTh2, channel), FloatAt(memory, kHis2, channel));
  bits = static_cast<std::uint8_t>((sp1 ? kFlagSetPoint1 : 0) | (sp2 ? kFlagSetPoint2 : 0));
  setpoint_bits_[index] = bits;

  if (script_.broken[index]) {
    state.flags = kFlagBreak;
    state.code = status_code::kBreak;
  } else {
    state.flags = bits;
    state.code = (value < low || value > high) ? status_code::kOutOfRange : status_code::kNormal;
  }
  state.code = script_.pinned_code[index].value_or(state.code);
  return state;
}

StatusBytes StatusModel::Block(const ParameterMemory& memory, Clock::time_point now) {
  const double seconds = std::chrono::duration<double>(now - origin_).count();
  const Channel one = ChannelState(memory, 1, seconds);
  const Channel two = ChannelState(memory, 2, seconds);
  StatusBytes block{};
  block[2] = RelayBits(memory, one.flags, two.flags);
  block[3] = script_.input;
  PutBigEndian(block, 4, one.value_bits);
  block[8] = one.code;
  block[9] = one.flags;
  PutBigEndian(block, 10, two.value_bits);
  block[14] = two.code;
  block[15] = two.flags;
  return block;
}

}  // namespace zrm::sim
