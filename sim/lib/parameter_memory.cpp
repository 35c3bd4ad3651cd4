#include "lib/parameter_memory.h"

#include <bit>

#include "lib/parameter_table.h"

namespace zrm::sim {

ParameterMemory::ParameterMemory() {
  for (const ParameterInfo& p : ParameterTable()) values_[p.key] = 0;
}

std::optional<std::uint32_t> ParameterMemory::Value(const ParameterKey& key) const {
  const auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

bool ParameterMemory::SetValue(const ParameterKey& key, std::uint32_t value) {
  const auto it = values_.find(key);
  if (it == values_.end()) return false;
  it->second = key.width == Width::kByte ? (value & 0xFFu) : value;
  return true;
}

std::optional<float> ParameterMemory::Float(unsigned address) const {
  const auto bits = Value(DwordParameter(address));
  if (!bits) return std::nullopt;
  return std::bit_cast<float>(*bits);
}

bool ParameterMemory::SetFloat(unsigned address, float value) {
  return SetValue(DwordParameter(address), std::bit_cast<std::uint32_t>(value));
}

std::optional<std::uint8_t> ParameterMemory::Byte(int space, unsigned address) const {
  const auto value = Value(ByteParameter(space, address));
  if (!value) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

bool ParameterMemory::SetByte(int space, unsigned address, std::uint8_t value) {
  return SetValue(ByteParameter(space, address), value);
}

}  // namespace zrm::sim
