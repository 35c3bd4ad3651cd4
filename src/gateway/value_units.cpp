#include "gateway/value_units.h"

#include <algorithm>
#include <charconv>

#include "gateway/gateway_ini.h"
#include "gateway/gateway_texts.h"
#include "platform/number_text.h"

namespace zrm {
namespace {

namespace t = gateway_texts;

// C0 controls, DEL and the C1 controls (U+0080..U+009F, "\xC2\x80".."\xC2\x9F" in UTF-8):
// none belongs in a label a dashboard shows.
bool HasControl(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F)
      return true;
  }
  return false;
}

// One "ADDRESS:UNIT1,UNIT2" into `units`.
bool ReadPart(std::string_view part, const std::vector<std::uint32_t>& addresses,
              std::map<std::uint32_t, ChannelUnits>& units, std::string& why) {
  const std::string shown(part);
  const std::size_t colon = part.find(':');
  const std::string_view number = colon == std::string_view::npos ? part : part.substr(0, colon);
  std::uint32_t address = 0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), address);
  std::string_view list = colon == std::string_view::npos ? "" : part.substr(colon + 1);
  const std::size_t commas = static_cast<std::size_t>(std::count(list.begin(), list.end(), ','));
  if (colon == std::string_view::npos || number.empty() || ec != std::errc() ||
      end != number.data() + number.size() || commas > 1) {
    why = t::kBadUnits + shown;
    return false;
  }
  if (std::find(addresses.begin(), addresses.end(), address) == addresses.end()) {
    why = t::kUnitsAddressNotOnLine + std::to_string(address);
    return false;
  }
  ChannelUnits read;
  for (std::string& unit : read) {
    const std::size_t comma = list.find(',');
    unit = TrimBlanks(list.substr(0, comma));
    list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
  }
  if (!units.emplace(address, read).second) {
    why = t::kUnitsAddressTwice + std::to_string(address);
    return false;
  }
  return true;
}

}  // namespace

bool ParseValueUnits(std::string_view text, const std::vector<std::uint32_t>& addresses,
                     std::map<std::uint32_t, ChannelUnits>& units, std::string& why) {
  if (text.size() > kMostValueBytes) {
    why = t::kValueTooLong;
    return false;
  }
  // Checked before any blank is dropped: a tab or a control character at
  // the edge of a unit is refused too, not silently cut off.
  if (HasControl(text)) {
    why = t::kUnitsControl;
    return false;
  }
  std::map<std::uint32_t, ChannelUnits> read;
  while (!text.empty()) {
    const std::size_t semicolon = text.find(';');
    const std::string_view part = TrimBlanks(text.substr(0, semicolon));
    text.remove_prefix(semicolon == std::string_view::npos ? text.size() : semicolon + 1);
    if (!part.empty() && !ReadPart(part, addresses, read, why)) return false;
  }
  units = std::move(read);
  return true;
}

}  // namespace zrm
