#include "settings/instrument_identity_text.h"

#include <cstdio>

#include "settings/written_parameters.h"

namespace zrm {

const std::array<std::string_view, 3> kDeviceTypeNames = {
    "4810/11 Н Одноканальный", "4813 Н Двухканальный", "4816 Н Одноканальн. проп.регул."};

std::string DeviceTypeName(std::int32_t device_type) {
  if (device_type < 0 || static_cast<std::size_t>(device_type) >= kDeviceTypeNames.size())
    return "?";
  return std::string(kDeviceTypeNames[static_cast<std::size_t>(device_type)]);
}

std::string ModelNumber(std::int32_t device_type) {
  static constexpr std::string_view kModels[] = {"4810", "4813", "4816"};
  if (device_type >= 0 && device_type < 3) return std::string(kModels[device_type]);
  return std::to_string(device_type);
}

std::string SerialText(std::int32_t prefix, std::uint32_t serial_number) {
  char text[32];
  std::snprintf(text, sizeof text, "%03d-%05u", prefix, serial_number);
  return text;
}

std::string DeviceNumber(const GeneralSettings& g) {
  return SerialText(static_cast<std::int32_t>(ByteOnWire(g.otk_type)), SerialNumber(g));
}

std::string InstrumentFileStem(const GeneralSettings& g) {
  return "ZRM" + ModelNumber(g.proc_ver) + "-" + DeviceNumber(g);
}

std::string FirmwareVersionText(std::int32_t firmware_version) {
  // Taken as unsigned so that no value gives a negative part.
  const auto v = static_cast<std::uint32_t>(firmware_version);
  return std::to_string(v >> 6) + "." + std::to_string((v >> 4) & 0x3u) + "." +
         std::to_string(v & 0xFu);
}

}  // namespace zrm
