#include "gateway/mqtt_command.h"

#include <charconv>
#include <cmath>

#include "platform/number_text.h"

namespace zrm {

std::optional<SetTopic> ParseSetTopic(std::string_view prefix, std::string_view topic) {
  if (!topic.starts_with(prefix) || topic.size() <= prefix.size() || topic[prefix.size()] != '/')
    return std::nullopt;
  topic.remove_prefix(prefix.size() + 1);
  const std::size_t slash = topic.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view id = topic.substr(0, slash);
  topic.remove_prefix(slash);
  if (!topic.starts_with("/set/") || topic.ends_with("/result")) return std::nullopt;
  const std::string_view parameter = topic.substr(5);
  const bool malformed =
      id.empty() || parameter.empty() || parameter.find('/') != std::string_view::npos;
  return SetTopic{std::string(id), std::string(parameter), malformed};
}

bool ParseSetPayload(std::string_view payload, float& value) {
  if (payload.size() > kMostPayloadBytes) return false;
  for (const char c : payload)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  const std::string_view text = TrimBlanks(payload);
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  float parsed = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), end, parsed, std::chars_format::fixed);
  if (ec != std::errc() || ptr != end || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace zrm
