#pragma once
// The seven parameter operations as one value, for accesses that treat them
// alike: a counter, a trial run, a stand-in instrument. Such an access
// derives from OperationAccess and implements Perform once, instead of
// writing out the seven operations again.

#include <cstdint>

#include "link/parameter_access.h"

namespace zrm {

enum class OperationKind {
  kReadByte,
  kReadDword,
  kWriteByte,
  kWriteDword,
  kWriteByteChecked,
  kWriteFloatChecked,
  kReadStatusBlock,
};

// One parameter operation: what, where, and its value.
struct ParameterOperation {
  OperationKind kind = OperationKind::kReadByte;
  MemorySpace space = 0;
  ParameterAddress address = 0;
  // A write's value (a float write: its bit pattern); for a read the
  // caller's value, replaced by the value read once it succeeded.
  std::uint32_t value = 0;
  StatusBlock block{};  // likewise for the status block
};

// Performs `operation` on `access` through the matching operation; a read's
// value lands in the operation only on success.
ExchangeResult PerformOn(ParameterAccess& access, ParameterOperation& operation);

class OperationAccess : public ParameterAccess {
 public:
  ExchangeResult ReadByte(MemorySpace space, ParameterAddress address, std::uint8_t& value) final;
  ExchangeResult ReadDword(MemorySpace space, ParameterAddress address, std::uint32_t& value) final;
  ExchangeResult WriteByte(MemorySpace space, ParameterAddress address, std::uint32_t value) final;
  ExchangeResult WriteDword(MemorySpace space, ParameterAddress address, std::uint32_t value) final;
  ExchangeResult WriteByteChecked(MemorySpace space, ParameterAddress address,
                                  std::uint32_t value) final;
  ExchangeResult WriteFloatChecked(MemorySpace space, ParameterAddress address, float value) final;
  ExchangeResult ReadStatusBlock(StatusBlock& block) final;

 protected:
  // Does the operation; on success a read leaves its value (or block) in it.
  // The out-values of the caller are written only on success.
  virtual ExchangeResult Perform(ParameterOperation& operation) = 0;
};

}  // namespace zrm
