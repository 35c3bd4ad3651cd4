#pragma once
// Text that came from the network (an MQTT topic or payload), made fit to
// be logged and published back: a peer must not forge a log line of its own
// with a line break, nor have a megabyte echoed.

#include <cstddef>
#include <string>
#include <string_view>

namespace zrm {

// `text` with every control character (below 0x20, and 0x7F) written as
// \xNN, cut after `most_bytes` bytes of the original with "…" added.
std::string ShownNetworkText(std::string_view text, std::size_t most_bytes = 64);

}  // namespace zrm
