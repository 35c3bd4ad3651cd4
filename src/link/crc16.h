#pragma once
// The checksum of the request and reply lines: CRC-16/MODBUS.

#include <cstddef>
#include <cstdint>

namespace zrm {

// CRC-16/MODBUS (start 0xFFFF, reflected polynomial 0xA001, no final XOR)
// over buffer[first..last], both ends included. "123456789" gives 19255.
std::uint16_t Crc16(const std::uint8_t* buffer, std::size_t first, std::size_t last);

}  // namespace zrm
