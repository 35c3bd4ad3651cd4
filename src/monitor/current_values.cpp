#include "monitor/current_values.h"

#include <bit>
#include <cstddef>

namespace zrm {

namespace {

// Status block byte positions.
constexpr std::size_t kRelayByte = 2;
constexpr std::size_t kInputByte = 3;
constexpr std::array<std::size_t, 2> kValueStart = {4, 10};
constexpr std::array<std::size_t, 2> kStatusByte = {8, 14};
constexpr std::array<std::size_t, 2> kFlagsByte = {9, 15};

constexpr std::uint32_t kExponentMask = 0x7F800000u;
constexpr std::uint32_t kFractionMask = 0x007FFFFFu;
constexpr std::uint32_t kQuietBit = 0x00400000u;

std::uint32_t BigEndianWord(const StatusBlock& block, std::size_t start) {
  return static_cast<std::uint32_t>(block[start]) << 24 |
         static_cast<std::uint32_t>(block[start + 1]) << 16 |
         static_cast<std::uint32_t>(block[start + 2]) << 8 |
         static_cast<std::uint32_t>(block[start + 3]);
}

bool IsSignallingNaN(std::uint32_t bits) {
  return (bits & kExponentMask) == kExponentMask && (bits & kFractionMask) != 0 &&
         (bits & kQuietBit) == 0;
}

}  // namespace

void DecodeStatusBlock(const StatusBlock& block, CurrentValues& held) {
  held.answered = true;
  held.relay_byte = block[kRelayByte];
  held.input_byte = block[kInputByte];
  for (std::size_t k = 0; k < held.channel.size(); ++k) {
    ChannelValues& ch = held.channel[k];
    ch.status = block[kStatusByte[k]];
    ch.flags = block[kFlagsByte[k]];
    const std::uint32_t bits = BigEndianWord(block, kValueStart[k]);
    if (IsSignallingNaN(bits)) {
      ch.value = kFloatErrorValue;
      ch.status = kFloatErrorStatus;
    } else {
      ch.value = std::bit_cast<float>(bits);
    }
  }
}

ChannelValues ShownChannelValues(float raw, std::uint8_t status, std::uint8_t flags) {
  ChannelValues ch{raw, status, flags};
  if (IsSignallingNaN(std::bit_cast<std::uint32_t>(raw))) {
    ch.value = kFloatErrorValue;
    ch.status = kFloatErrorStatus;
  }
  ch.value = ClampDisplayValue(ch.value);
  return ch;
}

float ClampDisplayValue(float value) {
  if (value > kDisplayMax) return kDisplayMax;
  if (!(value >= kDisplayMin)) return kDisplayMin;
  return value;
}

void ClampHeldValues(CurrentValues& held) {
  for (ChannelValues& ch : held.channel) ch.value = ClampDisplayValue(ch.value);
}

}  // namespace zrm
