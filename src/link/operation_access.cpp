#include "link/operation_access.h"

#include <bit>

namespace zrm {

ExchangeResult PerformOn(ParameterAccess& access, ParameterOperation& o) {
  switch (o.kind) {
    case OperationKind::kReadByte: {
      std::uint8_t byte = 0;
      const ExchangeResult r = access.ReadByte(o.space, o.address, byte);
      if (r == result::kOk) o.value = byte;
      return r;
    }
    case OperationKind::kReadDword: return access.ReadDword(o.space, o.address, o.value);
    case OperationKind::kWriteByte: return access.WriteByte(o.space, o.address, o.value);
    case OperationKind::kWriteDword: return access.WriteDword(o.space, o.address, o.value);
    case OperationKind::kWriteByteChecked:
      return access.WriteByteChecked(o.space, o.address, o.value);
    case OperationKind::kWriteFloatChecked:
      return access.WriteFloatChecked(o.space, o.address, std::bit_cast<float>(o.value));
    case OperationKind::kReadStatusBlock: return access.ReadStatusBlock(o.block);
  }
  return result::kNotUnderstood;
}

ExchangeResult OperationAccess::ReadByte(MemorySpace space, ParameterAddress address,
                                         std::uint8_t& value) {
  ParameterOperation o{OperationKind::kReadByte, space, address, value};
  const ExchangeResult r = Perform(o);
  if (r == result::kOk) value = static_cast<std::uint8_t>(o.value);
  return r;
}

ExchangeResult OperationAccess::ReadDword(MemorySpace space, ParameterAddress address,
                                          std::uint32_t& value) {
  ParameterOperation o{OperationKind::kReadDword, space, address, value};
  const ExchangeResult r = Perform(o);
  if (r == result::kOk) value = o.value;
  return r;
}

ExchangeResult OperationAccess::WriteByte(MemorySpace space, ParameterAddress address,
                                          std::uint32_t value) {
  ParameterOperation o{OperationKind::kWriteByte, space, address, value};
  return Perform(o);
}

ExchangeResult OperationAccess::WriteDword(MemorySpace space, ParameterAddress address,
                                           std::uint32_t value) {
  ParameterOperation o{OperationKind::kWriteDword, space, address, value};
  return Perform(o);
}

ExchangeResult OperationAccess::WriteByteChecked(MemorySpace space, ParameterAddress address,
                                                 std::uint32_t value) {
  ParameterOperation o{OperationKind::kWriteByteChecked, space, address, value};
  return Perform(o);
}

ExchangeResult OperationAccess::WriteFloatChecked(MemorySpace space, ParameterAddress address,
                                                  float value) {
  ParameterOperation o{OperationKind::kWriteFloatChecked, space, address,
                       std::bit_cast<std::uint32_t>(value)};
  return Perform(o);
}

ExchangeResult OperationAccess::ReadStatusBlock(StatusBlock& block) {
  ParameterOperation o{OperationKind::kReadStatusBlock, 1, 2, 0, block};
  const ExchangeResult r = Perform(o);
  if (r == result::kOk) block = o.block;
  return r;
}

}  // namespace zrm
