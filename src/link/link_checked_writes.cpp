// Writes verified by reading the value back: a pass of write, read back and
// compare is repeated up to the attempt count.

#include <bit>
#include <cmath>

#include "link/link.h"

namespace zrm {

namespace {

// A float read back is accepted this close to the value written, since the
// instrument may store it with its own precision.
constexpr double kFloatTolerance = 0.01;

}  // namespace

ExchangeResult Link::ByteCheckedPasses(MemorySpace space, ParameterAddress address,
                                       std::uint32_t value) {
  for (std::uint32_t pass = 0; pass < Params().attempts; ++pass) {
    if (const ExchangeResult r = WriteByte(space, address, value); r != result::kOk) return r;
    std::uint8_t read_back = 0;
    if (const ExchangeResult r = ReadByte(space, address, read_back); r != result::kOk) return r;
    if (read_back == value) return result::kOk;
  }
  return result::kReadBackMismatch;
}

ExchangeResult Link::FloatCheckedPasses(MemorySpace space, ParameterAddress address, float value) {
  for (std::uint32_t pass = 0; pass < Params().attempts; ++pass) {
    const ExchangeResult written = WriteDword(space, address, std::bit_cast<std::uint32_t>(value));
    if (written != result::kOk) return written;
    std::uint32_t bits = 0;
    if (const ExchangeResult r = ReadDword(space, address, bits); r != result::kOk) return r;
    const float read_back = std::bit_cast<float>(bits);
    if (std::fabs(double{read_back} - double{value}) <= kFloatTolerance) return result::kOk;
  }
  return result::kReadBackMismatch;
}

}  // namespace zrm
