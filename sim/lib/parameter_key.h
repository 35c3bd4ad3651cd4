#pragma once
// Coordinates of one parameter in the instrument's memory: memory space,
// width and address. One-byte and four-byte parameters are numbered
// independently, so the width is part of the key.

#include <compare>
#include <cstdint>

namespace zrm::sim {

// Width codes as carried in bits 7..6 of the address triplet.
enum class Width : std::uint8_t {
  Byte = 0,    // one byte, two hex digits
  Dword = 2,   // four bytes, eight hex digits (floats travel as their bits)
  Block = 3,   // the 16-byte status block
};

struct ParameterKey {
  int space = 2;  // 1 or 2
  Width width = Width::Byte;
  unsigned address = 0;  // 0..8191

  auto operator<=>(const ParameterKey&) const = default;
};

inline constexpr ParameterKey ByteParameter(int space, unsigned address) {
  return {space, Width::Byte, address};
}
// Four-byte parameters all live in space 2.
inline constexpr ParameterKey DwordParameter(unsigned address) {
  return {2, Width::Dword, address};
}
inline constexpr ParameterKey kStatusBlockKey{1, Width::Block, 2};

// Number of data bytes a parameter of this width carries.
inline constexpr unsigned WidthBytes(Width width) {
  switch (width) {
    case Width::Byte: return 1;
    case Width::Dword: return 4;
    case Width::Block: return 16;
  }
  return 0;
}

}  // namespace zrm::sim
