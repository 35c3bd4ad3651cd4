#pragma once
// The three-byte form of a parameter's coordinates in a request.

#include <array>
#include <cstdint>

#include "link/parameter_access.h"

namespace zrm {

// Size of the value a request moves.
enum class WidthCode : std::uint8_t {
  kByte = 0,
  kDword = 2,
  kStatusBlock = 3,
};

// Byte 0 is always 0; byte 1 holds the width code (bits 7..6), the space flag
// (bit 5, set for space 1) and address bits 12..8; byte 2 address bits 7..0.
using AddressTriplet = std::array<std::uint8_t, 3>;

// True for the two memory spaces a request can address (1 and 2).
bool IsValidMemorySpace(MemorySpace space);

// The triplet of a parameter; address bits above 12 are dropped.
AddressTriplet MakeAddressTriplet(MemorySpace space, ParameterAddress address, WidthCode width);

}  // namespace zrm
