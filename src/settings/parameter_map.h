#pragma once
// The instrument's parameter map: which field of DeviceSettings lives at which
// memory space, address and width, and which progress text the step that
// moves it shows. Every transfer takes its addresses and texts from here, so
// each address is written down exactly once.

#include <array>
#include <cstdint>
#include <string_view>

#include "link/parameter_access.h"
#include "settings/device_settings.h"

namespace zrm {

// Every setting lies in space 2; space 1 holds the firmware version, the
// restart command and the status block.
inline constexpr MemorySpace kSettingsSpace = 2;
inline constexpr MemorySpace kSystemSpace = 1;

// One-byte and four-byte parameters are numbered independently.
enum class ParameterWidth { kByte, kFloat };

// The channel parameters, in the order of the map (which is also the order
// of the read steps).
enum class ChannelField {
  kDat,
  kDiapMax,
  kDiapMin,
  kFlag,
  kAdj,
  kShift,
  kTh1,
  kHis1,
  kThType1,
  kTh2,
  kHis2,
  kThType2,
  kNs,
  kSearch,
  kUse,
  kPoint,
  kSpdTh,
  kSpdHis,
  kKoef0,
  kKoef1,
  kKoef2,
  kKoef3,
};
inline constexpr int kChannelFieldCount = 22;

// One row of the channel map. The address of channel index k (0 or 1) is
// base + step * k; `cell` is the field's index within a channel's block of the
// record (channel 2 adds 93). Exactly one of the two member pointers is set,
// the one that matches `width`.
struct ChannelParameter {
  ChannelField field;
  int cell;
  ParameterWidth width;
  ParameterAddress base;
  ParameterAddress step;
  std::string_view read_text;
  std::string_view write_text;
  // Set point types only: the step that writes 0 to the type before its set
  // point and hysteresis change.
  std::string_view prepare_text;
  std::int32_t ChannelSettings::*byte_field;
  float ChannelSettings::*float_field;
};

// The channel map, indexed by ChannelField.
extern const std::array<ChannelParameter, kChannelFieldCount> kChannelParameters;

// The row of a channel field.
const ChannelParameter& ChannelParameterOf(ChannelField field);

// The address of a channel parameter for channel index k.
ParameterAddress ChannelAddress(const ChannelParameter& p, int k);

// A one-byte field of the record outside the channel map: a field of one
// channel, of the relay settings or of the general settings. Exactly one
// member pointer is set.
struct RecordByte {
  int channel;
  std::int32_t ChannelSettings::*in_channel;
  std::int32_t RelaySettings::*in_relay;
  std::int32_t GeneralSettings::*in_general;
};

// The field a RecordByte names, in a const or a mutable record.
template <class Settings>
auto& FieldOf(Settings& s, const RecordByte& f) {
  if (f.in_channel) return s.channel[f.channel].*f.in_channel;
  if (f.in_relay) return s.relay.*f.in_relay;
  return s.general.*f.in_general;
}

// A one-byte device parameter (relay logic, regulator, general). A read
// stores the byte plus `read_offset` (the year is kept as byte + 2000). An
// empty write text marks a parameter the program only reads.
struct DeviceByteParameter {
  RecordByte field;
  MemorySpace space;
  ParameterAddress address;
  std::int32_t read_offset;
  std::string_view read_text;
  std::string_view write_text;
};

// The texts under which a whole group moves.
struct GroupTexts {
  std::string_view read;
  std::string_view write;
};

// Relay-logic variants of both channels and the four relay event masks, in
// transfer order.
extern const std::array<DeviceByteParameter, 6> kRelayLogicParameters;
extern const GroupTexts kRelayLogicTexts;

// Regulation interval and pulse length, both copies, in transfer order.
extern const std::array<DeviceByteParameter, 4> kRegulatorParameters;
extern const GroupTexts kRegulatorTexts;

// Serial number bytes and its prefix, in transfer order, under one text.
extern const std::array<DeviceByteParameter, 3> kSerialNumberParameters;
extern const std::string_view kSerialNumberText;

// Day, month and year of manufacture, in transfer order.
extern const std::array<DeviceByteParameter, 3> kManufacturingDateParameters;

// Firmware version, device type and error display, in transfer order; the
// last two are also written.
extern const std::array<DeviceByteParameter, 3> kGeneralParameters;

// A write of a constant that closes every write of the settings.
struct FixedWrite {
  MemorySpace space;
  ParameterAddress address;
  std::uint32_t value;
  std::string_view text;
};

// The value 47 at byte 0, then the restart command.
extern const std::array<FixedWrite, 2> kClosingWrites;

}  // namespace zrm
