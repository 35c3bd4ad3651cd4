#include "gateway/ha_removal.h"

#include <algorithm>

#include "gateway/state_json.h"

namespace zrm {
namespace {

// "047-12345": three digits, a hyphen, five digits.
bool IsInstrumentId(std::string_view id) {
  constexpr std::string_view kDigits = "0123456789";
  return id.size() == 9 && id[3] == '-' &&
         id.substr(0, 3).find_first_not_of(kDigits) == std::string_view::npos &&
         id.substr(4).find_first_not_of(kDigits) == std::string_view::npos;
}

}  // namespace

std::optional<std::string> UnconfiguredInstrument(const GatewayConfig& config,
                                                  std::string_view topic,
                                                  std::string_view payload) {
  const std::string head = config.prefix + "/";
  constexpr std::string_view kTail = "/info";
  if (!topic.starts_with(head) || !topic.ends_with(kTail)) return std::nullopt;
  const std::string_view id = topic.substr(head.size(), topic.size() - head.size() - kTail.size());
  if (!IsInstrumentId(id) || !payload.starts_with("{\"type\": ") ||
      payload.find(", \"address\": ") == std::string_view::npos)
    return std::nullopt;
  for (const GatewayLine& line : config.lines)
    if (std::any_of(line.bus.addresses.begin(), line.bus.addresses.end(), [&](std::uint32_t a) {
          return payload.ends_with(InfoPlaceJson(a, line.bus.device));
        }))
      return std::nullopt;
  return std::string(id);
}

}  // namespace zrm
