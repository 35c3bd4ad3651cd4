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

}  // namespace

ExchangeResult ReadBusIdentity(ParameterAccess& link, BusIdentity& identity,
                               BusParameterValues& values) {
  DeviceSettings s;
  if (ExchangeResult r = ReadDeviceByte(link, s, kDeviceTypeRow)) return r;
  for (const DeviceByteParameter& p : kSerialNumberParameters)
    if (ExchangeResult r = ReadDeviceByte(link, s, p)) return r;
  if (ExchangeResult r = ReadDeviceByte(link, s, kFirmwareRow)) return r;
  if (ExchangeResult r = ReadParameterValues(link, values)) return r;
  identity.known = true;
  identity.device_type = s.general.proc_ver;
  identity.prefix = s.general.otk_type;
  identity.serial_number = SerialNumber(s.general);
  identity.firmware_version = s.general.firmware_version;
  return result::kOk;
}

}  // namespace zrm
