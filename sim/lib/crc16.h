#pragma once
// The instrument's own CRC-16/MODBUS (polynomial 0xA001 reflected, start
// 0xFFFF, no final XOR). The check value of "123456789" is 19255.

#include <cstdint>
#include <string_view>

namespace zrm::sim {

std::uint16_t Crc16Modbus(std::string_view bytes);

}  // namespace zrm::sim
