#pragma once
// The instrument's reply forms: "!" address ";" data ";" checksum CR for
// reads, "$" and a four-digit code CR for writes and refusals.

#include <cstdint>
#include <string>
#include <string_view>

namespace zrm::sim {

namespace code {
inline constexpr std::uint16_t kDone = 0x0000;         // write carried out
inline constexpr std::uint16_t kNoParameter = 0x0003;  // nothing (writable) at that address
inline constexpr std::uint16_t kUnparseable = 0x000B;  // form, command or data width wrong
inline constexpr std::uint16_t kChecksum = 0x000D;     // checksum does not match
}  // namespace code

// "!" address ";" hex ";" CRC CR; the CRC covers the text between "!" and
// the last ";" inclusive.
std::string ReadReply(unsigned net_address, std::string_view hex_data);

// "$" four upper-case hex digits CR.
std::string CodeReply(std::uint16_t code);

// Upper-case hex of `count` bytes of `value`, most significant first.
std::string HexBytes(std::uint32_t value, unsigned count);

}  // namespace zrm::sim
