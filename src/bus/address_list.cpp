#include "bus/address_list.h"

#include <algorithm>
#include <charconv>

#include "bus/bus_texts.h"

namespace zrm {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ParseAddress(std::string_view text, std::uint32_t& address) {
  text = Trimmed(text);
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
  if (value < kFirstBusAddress || value > kLastBusAddress) return false;
  address = value;
  return true;
}

// One item, an address or a range, appended to `addresses`.
bool ParseItem(std::string_view item, std::vector<std::uint32_t>& addresses, std::string& error) {
  const std::string quoted(Trimmed(item));
  const auto dash = item.find('-');
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  const bool read =
      dash == std::string_view::npos
          ? ParseAddress(item, first) && ParseAddress(item, last)
          : ParseAddress(item.substr(0, dash), first) && ParseAddress(item.substr(dash + 1), last);
  if (!read) {
    error = bus_texts::kBadAddress + quoted;
    return false;
  }
  if (first > last) {
    error = bus_texts::kReversedRange + quoted;
    return false;
  }
  for (std::uint32_t address = first; address <= last; ++address) {
    if (std::find(addresses.begin(), addresses.end(), address) != addresses.end()) {
      error = bus_texts::kRepeatedAddress + std::to_string(address);
      return false;
    }
    addresses.push_back(address);
  }
  return true;
}

}  // namespace

bool ParseAddressList(std::string_view text, std::vector<std::uint32_t>& addresses,
                      std::string& error) {
  if (Trimmed(text).empty()) {
    error = bus_texts::kEmptyAddressList;
    return false;
  }
  std::vector<std::uint32_t> parsed;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    if (!ParseItem(text.substr(start, comma - start), parsed, error)) return false;
    start = comma + 1;
  }
  addresses = parsed;
  return true;
}

}  // namespace zrm
