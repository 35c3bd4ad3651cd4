#pragma once
// The held current values of the instrument and the decoding of its 16-byte
// status block into them. The held values live from start to exit; a failed
// poll leaves them as they were, so the page keeps the last good values.

#include <array>
#include <cstdint>

#include "link/parameter_access.h"

namespace zrm {

// The status code the instrument gives a channel whose value is a signalling
// not-a-number ("Ошибка в плавающей арифметике"), and the value shown then.
inline constexpr std::uint8_t kFloatErrorStatus = 4;
inline constexpr float kFloatErrorValue = -444.0f;
// The status code of a switched-off channel.
inline constexpr std::uint8_t kChannelOffStatus = 12;

// Display limits: above the upper one a value shows the upper one; anything
// not at least the lower one (a not-a-number included) shows the lower one.
inline constexpr float kDisplayMax = 10000.0f;
inline constexpr float kDisplayMin = -1000.0f;

// Channel flag bits.
inline constexpr std::uint8_t kSetpoint1Bit = 0x01;
inline constexpr std::uint8_t kSetpoint2Bit = 0x02;
inline constexpr std::uint8_t kBreakBit = 0x04;

struct ChannelValues {
  float value = 0;
  std::uint8_t status = 0;  // index into the status texts
  std::uint8_t flags = 0;   // set point 1, set point 2, sensor break
};

struct CurrentValues {
  std::uint8_t relay_byte = 0;           // bit 0 relay 1, bit 1 relay 2
  std::uint8_t input_byte = 0;           // bits 0..4 buttons, bits 5 and 6 encoder
  std::array<ChannelValues, 2> channel;  // channel 1 first
  bool answered = false;                 // a status block has arrived since start
};

// Stores the bytes of a status block that ReadStatusBlock returned with 0
// and marks the held values answered.
// A channel value whose bits are a signalling not-a-number becomes -444.0 with
// status code 4; a quiet not-a-number is kept (the display clamping turns it
// into -1000.0).
void DecodeStatusBlock(const StatusBlock& block, CurrentValues& held);

// A channel as the page shows it, from a value as the instrument sent it (a
// poller that keeps the raw float): a signalling not-a-number becomes -444.0
// with status code 4, then the value is clamped for display.
ChannelValues ShownChannelValues(float raw, std::uint8_t status, std::uint8_t flags);

// The display clamping of one value.
float ClampDisplayValue(float value);

// Clamps both held channel values in place; the clamped values are what the
// page shows and the measurement log writes.
void ClampHeldValues(CurrentValues& held);

}  // namespace zrm
