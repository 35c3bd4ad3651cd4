#pragma once
// Takes a received frame apart the way the instrument does: find the request
// after its preamble, decide whether it is addressed here, verify the
// checksum, then the form, command, triplet and data width.

#include <cstdint>
#include <optional>
#include <string_view>

#include "lib/received_frame.h"

namespace zrm::sim {

struct ParsedFrame {
  bool addressed_here = false;  // false: the instrument stays silent
  ChecksumVerdict checksum = ChecksumVerdict::kAbsent;
  RequestFields fields;
  // The "$" code to answer instead of serving the request. Whether a
  // parameter exists at the triplet is decided later, against the map.
  std::optional<std::uint16_t> refusal;
};

// `raw` is everything received up to and including a CR.
ParsedFrame ParseFrame(std::string_view raw, unsigned own_address);

}  // namespace zrm::sim
