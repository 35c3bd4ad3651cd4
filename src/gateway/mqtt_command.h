#pragma once
// The plant's write commands on MQTT: "P/I/set/<parameter>" with a number.

#include <optional>
#include <string>
#include <string_view>

namespace zrm {

struct SetTopic {
  std::string id;         // the instrument, "047-12345"
  std::string parameter;  // as written, checked later
  // "P/I/set/…" with an empty instrument or parameter, or a level more:
  // answered with a refusal, never obeyed.
  bool malformed = false;
};

// The longest payload a command may have; a longer one is refused unread.
inline constexpr std::size_t kMostPayloadBytes = 64;

// The instrument and parameter of a command topic under `prefix`
// ("P/I/set/<parameter>", or malformed under "P/…/set/"); empty for any
// other topic and for the results the gateway publishes ("…/result").
std::optional<SetTopic> ParseSetTopic(std::string_view prefix, std::string_view topic);

// The payload as a finite number with a point as decimal separator, spaces
// around it allowed; false for anything else (a comma, a second number,
// "nan", an empty payload, a control character or a NUL anywhere, more than
// kMostPayloadBytes).
bool ParseSetPayload(std::string_view payload, float& value);

}  // namespace zrm
