#include "lib/bus_addresses.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>

#include "lib/parameter_table.h"

namespace zrm::sim {
namespace {

bool Address(std::string_view text, unsigned& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// One list item, "N" or "A-B", appended to `addresses`.
bool AddItem(std::string_view item, std::vector<unsigned>& addresses, std::string& error) {
  const std::size_t dash = item.find('-');
  unsigned low = 0;
  unsigned high = 0;
  const bool ok = dash == std::string_view::npos
                      ? Address(item, low) && Address(item, high)
                      : Address(item.substr(0, dash), low) && Address(item.substr(dash + 1), high);
  if (!ok || low > high) {
    error = "bad address \"" + std::string(item) + "\"";
    return false;
  }
  if (high - low >= kMaxBusInstruments - std::min(addresses.size(), kMaxBusInstruments)) {
    error = "more than " + std::to_string(kMaxBusInstruments) + " instruments";
    return false;
  }
  for (unsigned a = low;; ++a) {
    if (std::find(addresses.begin(), addresses.end(), a) != addresses.end()) {
      error = "address " + std::to_string(a) + " given twice";
      return false;
    }
    addresses.push_back(a);
    if (a == high) return true;
  }
}

}  // namespace

bool ParseBusAddresses(const std::string& text, std::vector<unsigned>& addresses,
                       std::string& error) {
  std::vector<unsigned> parsed;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    if (!AddItem(std::string_view(text).substr(start, comma - start), parsed, error)) return false;
    if (comma == text.size()) break;
    start = comma + 1;
  }
  addresses = std::move(parsed);
  return true;
}

ParameterMemory BusMemberMemory(const ParameterMemory& first, std::size_t index) {
  ParameterMemory memory = first;
  SetSerialNumber(memory, SerialNumberOf(memory) + static_cast<std::uint32_t>(index));
  return memory;
}

std::uint32_t SerialNumberOf(const ParameterMemory& memory) {
  const ParameterKey lo = FindParameterByName("serial_lo")->key;
  const ParameterKey hi = FindParameterByName("serial_hi")->key;
  return memory.Value(hi).value_or(0) << 8 | memory.Value(lo).value_or(0);
}

void SetSerialNumber(ParameterMemory& memory, std::uint32_t serial) {
  memory.SetValue(FindParameterByName("serial_lo")->key, serial & 0xFF);
  memory.SetValue(FindParameterByName("serial_hi")->key, (serial >> 8) & 0xFF);
}

}  // namespace zrm::sim
