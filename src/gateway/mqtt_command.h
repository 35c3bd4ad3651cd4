#pragma once
// The plant's write commands on MQTT: "P/I/set/<parameter>" with a number.

#include <optional>
#include <string>
#include <string_view>

namespace zrm {

struct SetTopic {
  std::string id;         // the instrument, "047-12345"
  std::string parameter;  // as written, checked later
};

// The instrument and parameter of a command topic under `prefix`; empty
// for any other topic.
std::optional<SetTopic> ParseSetTopic(std::string_view prefix, std::string_view topic);

// The payload as a finite number with a point as decimal separator, blanks
// around it allowed; false for anything else (a comma, a second number,
// "nan", an empty payload).
bool ParseSetPayload(std::string_view payload, float& value);

}  // namespace zrm
