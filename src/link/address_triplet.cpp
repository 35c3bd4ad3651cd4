#include "link/address_triplet.h"

namespace zrm {

bool IsValidMemorySpace(MemorySpace space) { return space == 1 || space == 2; }

AddressTriplet MakeAddressTriplet(MemorySpace space, ParameterAddress address, WidthCode width) {
  const unsigned space_flag = space == 1 ? 0x20u : 0x00u;
  const unsigned high = (address >> 8) & 0x1Fu;
  return {0x00, static_cast<std::uint8_t>((static_cast<unsigned>(width) << 6) | space_flag | high),
          static_cast<std::uint8_t>(address & 0xFFu)};
}

}  // namespace zrm
