#include "bus/bus_identity_read.h"

#include <bit>

#include "bus/bus_parameter.h"
#include "settings/device_byte_transfer.h"

namespace zrm {

namespace {

// The general map's rows: firmware version first, then the device type.
const DeviceByteParameter& kFirmwareRow = kGeneralParameters[0];
const DeviceByteParameter& kDeviceTypeRow = kGeneralParameters[1];

ExchangeResult ReadParameterValues(ParameterAccess& link, BusParameterValues& values) {
  BusParameterValues read;
  for (const BusParameter parameter : kBusParameters) {
    const BusParameterPlace place = PlaceOf(parameter);
    std::uint32_t bits = 0;
    const ParameterAddress address = ChannelAddress(ChannelParameterOf(place.field), place.channel);
    if (ExchangeResult r = link.ReadDword(kSettingsSpace, address, bits)) return r;
    read[IndexOf(parameter)] = std::bit_cast<float>(bits);
  }
  values = read;
  return result::kOk;
}

// Each channel's sensor type, decimal point and upper range end: single
// reads, the rest of the channel is not needed.
ExchangeResult ReadChannelSetups(ParameterAccess& link, std::array<BusChannelSetup, 2>& setups) {
  std::array<BusChannelSetup, 2> read;
  for (int k = 0; k < 2; ++k) {
    std::uint8_t dat = 0;
    std::uint8_t point = 0;
    std::uint32_t diap_max = 0;
    if (ExchangeResult r = link.ReadByte(
            kSettingsSpace, ChannelAddress(ChannelParameterOf(ChannelField::kDat), k), dat))
      return r;
    if (ExchangeResult r = link.ReadByte(
            kSettingsSpace, ChannelAddress(ChannelParameterOf(ChannelField::kPoint), k), point))
      return r;
    if (ExchangeResult r = link.ReadDword(
            kSettingsSpace, ChannelAddress(ChannelParameterOf(ChannelField::kDiapMax), k), diap_max))
      return r;
    read[k] = {dat, point, std::bit_cast<float>(diap_max)};
  }
  setups = read;
  return result::kOk;
}

}  // namespace

ExchangeResult ReadBusIdentity(ParameterAccess& link, BusIdentity& identity,
                               BusParameterValues& values) {
  DeviceSettings s;
  if (ExchangeResult r = ReadDeviceByte(link, s, kDeviceTypeRow)) return r;
  for (const DeviceByteParameter& p : kSerialNumberParameters)
    if (ExchangeResult r = ReadDeviceByte(link, s, p)) return r;
  if (ExchangeResult r = ReadDeviceByte(link, s, kFirmwareRow)) return r;
  std::array<BusChannelSetup, 2> channels;
  if (ExchangeResult r = ReadChannelSetups(link, channels)) return r;
  if (ExchangeResult r = ReadParameterValues(link, values)) return r;
  identity.channels = channels;
  identity.known = true;
  identity.device_type = s.general.proc_ver;
  identity.prefix = s.general.otk_type;
  identity.serial_number = SerialNumber(s.general);
  identity.firmware_version = s.general.firmware_version;
  return result::kOk;
}

GeneralSettings GeneralOf(const BusIdentity& identity) {
  GeneralSettings general;
  general.proc_ver = identity.device_type;
  general.otk_type = identity.prefix;
  general.serial_lo = static_cast<std::int32_t>(identity.serial_number & 0xFF);
  general.serial_hi = static_cast<std::int32_t>(identity.serial_number >> 8);
  general.firmware_version = identity.firmware_version;
  return general;
}

}  // namespace zrm
