#pragma once
// Coordinates of one parameter in the instrument's memory: memory space,
// width and address. One-byte and four-byte parameters are numbered
// independently, so the width is part of the key.

#include <compare>
#include <cstdint>

namespace zrm::sim {

// Width codes as carried in bits 7..6 of the address triplet.
enum class Width : std::uint8_t {
  kByte = 0,   // one byte, two hex digits
  kDword = 2,  // four bytes, eight hex digits (floats travel as their bits)
  kBlock = 3,  // the 16-byte status block
};

struct ParameterKey {
  int space = 2;  // 1 or 2
  Width width = Width::kByte;
  unsigned address = 0;  // 0..8191

  auto operator<=>(const ParameterKey&) const = default;
};

inline constexpr ParameterKey ByteParameter(int space, unsigned address) {
  return {space, Width::kByte, address};
}
// Four-byte parameters all live in space 2.
inline constexpr ParameterKey DwordParameter(unsigned address) {
  return {2, Width::kDword, address};
}
inline constexpr ParameterKey kStatusBlockKey{1, Width::kBlock, 2};

// Number of data bytes a parameter of this width carries.
inline constexpr unsigned WidthBytes(Width width) {
  switch (width) {
    case Width::kByte: return 1;
    case Width::kDword: return 4;
    case Width::kBlock: return 16;
  }
  return 0;
}

}  // namespace zrm::sim
