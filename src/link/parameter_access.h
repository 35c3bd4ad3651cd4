#pragma once
// The parameter operations of the instrument: the only way any part of the
// program talks to it. `Link` implements them over a serial line; tests may
// implement them over a model of the instrument.

#include <array>
#include <cstdint>

#include "link/exchange_result.h"

namespace zrm {

using MemorySpace = std::uint32_t;       // 1 or 2
using ParameterAddress = std::uint32_t;  // 13 bits are carried
using StatusBlock = std::array<std::uint8_t, 16>;

class ParameterAccess {
 public:
  virtual ~ParameterAccess() = default;

  // On a non-zero result the out-value is left untouched.
  virtual ExchangeResult ReadByte(MemorySpace space, ParameterAddress address,
                                  std::uint8_t& value) = 0;
  virtual ExchangeResult ReadDword(MemorySpace space, ParameterAddress address,
                                   std::uint32_t& value) = 0;
  // A value above 255 is sent as 255.
  virtual ExchangeResult WriteByte(MemorySpace space, ParameterAddress address,
                                   std::uint32_t value) = 0;
  virtual ExchangeResult WriteDword(MemorySpace space, ParameterAddress address,
                                    std::uint32_t value) = 0;
  // Write, read back and compare, up to the attempt count of passes; 15 when
  // the read-back never matched.
  virtual ExchangeResult WriteByteChecked(MemorySpace space, ParameterAddress address,
                                          std::uint32_t value) = 0;
  // Read-back matches when it lies within 0.01 of the value.
  virtual ExchangeResult WriteFloatChecked(MemorySpace space, ParameterAddress address,
                                           float value) = 0;
  // The 16-byte status block (space 1, address 2, width code 3).
  virtual ExchangeResult ReadStatusBlock(StatusBlock& block) = 0;
};

}  // namespace zrm
