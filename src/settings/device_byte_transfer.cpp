#include "settings/device_byte_transfer.h"

namespace zrm {

ExchangeResult ReadDeviceByte(ParameterAccess& link, DeviceSettings& s,
                              const DeviceByteParameter& p) {
  std::uint8_t value = 0;
  const ExchangeResult r = link.ReadByte(p.space, p.address, value);
  if (r == result::kOk) FieldOf(s, p.field) = static_cast<std::int32_t>(value) + p.read_offset;
  return r;
}

ExchangeResult WriteDeviceByte(ParameterAccess& link, const DeviceSettings& s,
                               const DeviceByteParameter& p) {
  return link.WriteByte(p.space, p.address, static_cast<std::uint32_t>(FieldOf(s, p.field)));
}

ExchangeResult ReadDeviceBytes(ParameterAccess& link, DeviceSettings& s,
                               std::span<const DeviceByteParameter> params, TransferProgress& panel) {
  for (const auto& p : params) {
    panel.BeforeExchange();
    if (const ExchangeResult r = ReadDeviceByte(link, s, p); r != result::kOk) return r;
  }
  return result::kOk;
}

ExchangeResult WriteDeviceBytes(ParameterAccess& link, const DeviceSettings& s,
                                std::span<const DeviceByteParameter> params,
                                TransferProgress& panel) {
  for (const auto& p : params) {
    panel.BeforeExchange();
    if (const ExchangeResult r = WriteDeviceByte(link, s, p); r != result::kOk) return r;
  }
  return result::kOk;
}

}  // namespace zrm
