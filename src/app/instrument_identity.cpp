#include "app/instrument_identity.h"

#include "settings/device_byte_transfer.h"
#include "settings/parameter_map.h"

namespace zrm {

ExchangeResult ReadInstrumentIdentity(ParameterAccess& link, const DeviceSettings& s,
                                      DeviceSettings& instrument) {
  DeviceSettings read = s;
  const DeviceByteParameter& type = kGeneralParameters[1];
  if (ExchangeResult r = ReadDeviceByte(link, read, type)) return r;
  for (const DeviceByteParameter& p : kSerialNumberParameters)
    if (ExchangeResult r = ReadDeviceByte(link, read, p)) return r;
  instrument = read;
  return result::kOk;
}

}  // namespace zrm
