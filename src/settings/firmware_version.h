#pragma once
// The firmware version word of the instrument as the technician reads it.

#include <cstdint>
#include <string>

namespace zrm {

// "C.B.A": C = the value shifted right by 6, B = bits 5..4, A = bits 3..0,
// each in decimal. 0x93 gives "2.1.3", 0x5A gives "1.1.10".
std::string FirmwareVersionText(std::int32_t firmware_version);

}  // namespace zrm
