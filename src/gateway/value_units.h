#pragma once
// The units that a line's Units= key gives the values of its instruments
// whose inputs are not temperatures: "1:bar,°C;3:kPa", per address the
// unit of channel 1 and of channel 2.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zrm {

using ChannelUnits = std::array<std::string, 2>;  // empty: no unit named

// Reads `text` for a line polling `addresses`. ";" separates the
// instruments, "," the channels; blanks around each part are dropped, an
// empty part between two ";" is skipped. False with `why` for a part that
// is not ADDRESS:UNIT or ADDRESS:UNIT1,UNIT2, an address not in
// `addresses` or named twice, a control character (a tab too) anywhere,
// and a text longer than a value may be.
bool ParseValueUnits(std::string_view text, const std::vector<std::uint32_t>& addresses,
                     std::map<std::uint32_t, ChannelUnits>& units, std::string& why);

}  // namespace zrm
