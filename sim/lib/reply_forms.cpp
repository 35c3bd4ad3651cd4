#include "lib/reply_forms.h"

#include "lib/crc16.h"

namespace zrm::sim {

std::string HexBytes(std::uint32_t value, unsigned count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned i = count; i-- > 0;) {
    const unsigned byte = (value >> (8 * i)) & 0xFFu;
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xFu];
  }
  return hex;
}

std::string ReadReply(unsigned net_address, std::string_view hex_data) {
  std::string covered = std::to_string(net_address) + ";";
  covered += hex_data;
  covered += ";";
  return "!" + covered + std::to_string(Crc16Modbus(covered)) + "\r";
}

std::string CodeReply(std::uint16_t code) {
  // Appended piece by piece: "$" + a temporary trips a false -Wrestrict of
  // GCC 12 in optimised builds.
  std::string reply = "$";
  reply += HexBytes(code, 2);
  reply += '\r';
  return reply;
}

}  // namespace zrm::sim
