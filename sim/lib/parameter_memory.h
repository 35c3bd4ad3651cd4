#pragma once
// The instrument's parameter memory: one value per parameter of the map.
// One-byte parameters hold 0..255; four-byte parameters hold the 32-bit
// pattern of a single-precision float. Only parameters of the map exist.

#include <cstdint>
#include <map>
#include <optional>

#include "lib/parameter_key.h"

namespace zrm::sim {

class ParameterMemory {
 public:
  // Every parameter of the map, all zero.
  ParameterMemory();

  // The stored value; empty when no such parameter exists.
  std::optional<std::uint32_t> Value(const ParameterKey& key) const;

  // Stores a value (a byte parameter keeps the low 8 bits); false when no
  // such parameter exists.
  bool SetValue(const ParameterKey& key, std::uint32_t value);

  // Float view of a four-byte parameter of space 2.
  std::optional<float> Float(unsigned address) const;
  bool SetFloat(unsigned address, float value);

  // One-byte view.
  std::optional<std::uint8_t> Byte(int space, unsigned address) const;
  bool SetByte(int space, unsigned address, std::uint8_t value);

  const std::map<ParameterKey, std::uint32_t>& Values() const { return values_; }

  bool operator==(const ParameterMemory&) const = default;

 private:
  std::map<ParameterKey, std::uint32_t> values_;
};

}  // namespace zrm::sim
