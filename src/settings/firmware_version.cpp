#include "settings/firmware_version.h"

namespace zrm {

std::string FirmwareVersionText(std::int32_t firmware_version) {
  // Taken as unsigned so that no value gives a negative part.
  const auto v = static_cast<std::uint32_t>(firmware_version);
  return std::to_string(v >> 6) + "." + std::to_string((v >> 4) & 0x3u) + "." +
         std::to_string(v & 0xFu);
}

}  // namespace zrm
