#include "link/crc16.h"

namespace zrm {

std::uint16_t Crc16(const std::uint8_t* buffer, std::size_t first, std::size_t last) {
  std::uint16_t crc = 0xFFFF;
  for (std::size_t i = first; i <= last; ++i) {
    crc ^= buffer[i];
    for (int bit = 0; bit < 8; ++bit) {
      const bool carry = (crc & 1u) != 0;
      crc = static_cast<std::uint16_t>(crc >> 1);
      if (carry) crc ^= 0xA001;
    }
  }
  return crc;
}

}  // namespace zrm
