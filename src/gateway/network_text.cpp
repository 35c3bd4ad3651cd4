#include "gateway/network_text.h"

#include <cstdio>

namespace zrm {

std::string ShownNetworkText(std::string_view text, std::size_t most_bytes) {
  const bool cut = text.size() > most_bytes;
  if (cut) text = text.substr(0, most_bytes);
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out += c;
      continue;
    }
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    out += escaped;
  }
  return cut ? out + "…" : out;
}

}  // namespace zrm
