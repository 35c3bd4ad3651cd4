#include "app/search_plan.h"

#include <algorithm>
#include <charconv>

namespace zrm {

namespace {

bool WholeNumber(std::string_view text, std::uint32_t& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::size_t SearchPlan::ProbeCount() const {
  return speeds.size() * (last_address - first_address + 1);
}

bool ParseSpeedList(const std::string& text, std::vector<std::int32_t>& speeds,
                    std::string& error) {
  std::vector<std::int32_t> parsed;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    std::uint32_t speed = 0;
    const bool known = WholeNumber(item, speed) &&
                       std::find(std::begin(kSearchSpeeds), std::end(kSearchSpeeds),
                                 static_cast<std::int32_t>(speed)) != std::end(kSearchSpeeds);
    if (!known) {
      error = "--speeds: \"" + item + "\" is not one of 4800, 9600, 19200, 38400, 57600";
      return false;
    }
    if (std::find(parsed.begin(), parsed.end(), speed) != parsed.end()) {
      error = "--speeds: " + item + " given twice";
      return false;
    }
    parsed.push_back(static_cast<std::int32_t>(speed));
    if (comma == text.size()) break;
    start = comma + 1;
  }
  speeds = std::move(parsed);
  return true;
}

bool ParseAddressRange(const std::string& text, std::uint32_t& first, std::uint32_t& last,
                       std::string& error) {
  const std::size_t dash = text.find('-');
  std::uint32_t low = 0;
  std::uint32_t high = 0;
  const bool numbers = dash == std::string::npos
                           ? WholeNumber(text, low) && WholeNumber(text, high)
                           : WholeNumber(std::string_view(text).substr(0, dash), low) &&
                                 WholeNumber(std::string_view(text).substr(dash + 1), high);
  if (!numbers || low < 1 || high > kMaxSearchAddress || low > high) {
    error = "--addresses: \"" + text + "\" is not a range A-B within 1-255";
    return false;
  }
  first = low;
  last = high;
  return true;
}

}  // namespace zrm
