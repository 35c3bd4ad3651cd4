#pragma once
// Lists of instruments' network addresses as the technician types them:
// "1-3,7" is 1, 2, 3 and 7.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zrm {

// The smallest and largest network address of an instrument.
inline constexpr std::uint32_t kFirstBusAddress = 1;
inline constexpr std::uint32_t kLastBusAddress = 255;

// Reads comma-separated addresses and ranges "A-B" (A <= B), each address
// 1..255, in the order given, blanks around items allowed. On an empty list,
// a bad number, a reversed range or a repeated address returns false with a
// message naming the item in `error`.
bool ParseAddressList(std::string_view text, std::vector<std::uint32_t>& addresses,
                      std::string& error);

}  // namespace zrm
