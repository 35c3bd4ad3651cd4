#include "bus/bus_status_decode.h"

#include <bit>
#include <cstddef>

#include "monitor/current_values.h"

namespace zrm {

namespace {

// Where each channel's value starts in the status block (big-endian float).
constexpr std::array<std::size_t, 2> kValueStart = {4, 10};

float RawValue(const StatusBlock& block, std::size_t start) {
  const std::uint32_t bits = std::uint32_t{block[start]} << 24 |
                             std::uint32_t{block[start + 1]} << 16 |
                             std::uint32_t{block[start + 2]} << 8 | std::uint32_t{block[start + 3]};
  return std::bit_cast<float>(bits);
}

}  // namespace

void DecodeBusStatus(const StatusBlock& block, BusSnapshot& snapshot) {
  CurrentValues decoded;
  DecodeStatusBlock(block, decoded);
  snapshot.has_values = true;
  snapshot.relay_byte = decoded.relay_byte;
  snapshot.input_byte = decoded.input_byte;
  for (std::size_t k = 0; k < snapshot.channel.size(); ++k) {
    snapshot.channel[k].value = RawValue(block, kValueStart[k]);
    snapshot.channel[k].status = decoded.channel[k].status;
    snapshot.channel[k].flags = decoded.channel[k].flags;
  }
}

}  // namespace zrm
