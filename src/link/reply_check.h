#pragma once
// Decoding of the instrument's reply lines: "$" reply codes and read replies
// of the shape "!" address ";" data ";" checksum CR.

#include <cstdint>
#include <span>
#include <string_view>

#include "link/exchange_result.h"

namespace zrm {

// The result a "$" code in the reply stands for; 0 when the reply holds no
// "$" at all or "$0000", 7 for a code the table does not know.
ExchangeResult CheckReplyCode(std::string_view reply);

// Takes the data bytes of a read reply into `data` (one byte, four bytes most
// significant first, or the sixteen bytes of the status block). 3 when the
// reply lacks "!" or ";" or cannot be taken apart, 1 when "!" stands beyond
// index 64. A one-byte reply needs a further ";" after its data. `data` is
// written only on success.
ExchangeResult ParseReadReply(std::string_view reply, std::span<std::uint8_t> data);

}  // namespace zrm
