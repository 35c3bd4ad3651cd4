#include "support/fake_instrument.h"

#include <bit>
#include <cmath>
#include <cstdio>

#include "platform/number_text.h"

namespace zrm::test {

namespace {

std::uint32_t ClampToByte(std::uint32_t value) { return value > 255 ? 255 : value; }

}  // namespace

std::string Operation::Text() const {
  const std::string at = std::to_string(space) + ":" + std::to_string(address);
  std::string text;
  switch (kind) {
    case Kind::kReadByte: text = "rb " + at; break;
    case Kind::kReadDword: text = "rd " + at; break;
    case Kind::kWriteByte: text = "wb " + at + "=" + std::to_string(value); break;
    case Kind::kWriteDword: {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(value));
      text = "wd " + at + "=" + hex;
      break;
    }
    case Kind::kWriteByteChecked: text = "wbc " + at + "=" + std::to_string(value); break;
    case Kind::kWriteFloatChecked:
      text = "wfc " + at + "=" + FormatGeneral(std::bit_cast<float>(value), 7);
      break;
    case Kind::kReadStatusBlock: text = "status"; break;
  }
  if (result != result::kOk) text += " !" + std::to_string(result);
  return text;
}

void FakeInstrument::SetByte(MemorySpace space, ParameterAddress address, std::uint8_t value) {
  memory_[{space, Width::kByte, address}] = value;
}

void FakeInstrument::SetDword(MemorySpace space, ParameterAddress address, std::uint32_t value) {
  memory_[{space, Width::kDword, address}] = value;
}

void FakeInstrument::SetFloat(MemorySpace space, ParameterAddress address, float value) {
  SetDword(space, address, std::bit_cast<std::uint32_t>(value));
}

std::optional<std::uint8_t> FakeInstrument::Byte(MemorySpace space,
                                                 ParameterAddress address) const {
  const auto it = memory_.find({space, Width::kByte, address});
  if (it == memory_.end()) return std::nullopt;
  return static_cast<std::uint8_t>(it->second);
}

std::optional<float> FakeInstrument::Float(MemorySpace space, ParameterAddress address) const {
  const auto it = memory_.find({space, Width::kDword, address});
  if (it == memory_.end()) return std::nullopt;
  return std::bit_cast<float>(it->second);
}

void FakeInstrument::FailOperation(int n, ExchangeResult r) { failing_operations_[n] = r; }

void FakeInstrument::FailAddress(MemorySpace space, Width width, ParameterAddress address,
                                 ExchangeResult r) {
  failing_addresses_[{space, width, address}] = r;
}

std::vector<std::string> FakeInstrument::Log() const {
  std::vector<std::string> out;
  for (const auto& op : operations) out.push_back(op.Text());
  return out;
}

ExchangeResult FakeInstrument::Begin(Operation::Kind kind, MemorySpace space,
                                     ParameterAddress address, Width width,
                                     std::uint32_t value) {
  ExchangeResult r = result::kOk;
  const int n = static_cast<int>(operations.size()) + 1;
  if (const auto it = failing_operations_.find(n); it != failing_operations_.end()) r = it->second;
  if (const auto it = failing_addresses_.find({space, width, address});
      it != failing_addresses_.end())
    r = it->second;
  operations.push_back({kind, space, address, value, r});
  return r;
}

std::uint32_t FakeInstrument::Stored(const Key& key) const {
  const auto it = memory_.find(key);
  return it == memory_.end() ? 0 : it->second;
}

ExchangeResult FakeInstrument::ReadByte(MemorySpace space, ParameterAddress address,
                                        std::uint8_t& value) {
  const ExchangeResult r = Begin(Operation::Kind::kReadByte, space, address, Width::kByte, 0);
  if (r == result::kOk) value = static_cast<std::uint8_t>(Stored({space, Width::kByte, address}));
  return r;
}

ExchangeResult FakeInstrument::ReadDword(MemorySpace space, ParameterAddress address,
                                         std::uint32_t& value) {
  const ExchangeResult r = Begin(Operation::Kind::kReadDword, space, address, Width::kDword, 0);
  if (r == result::kOk) value = Stored({space, Width::kDword, address});
  return r;
}

ExchangeResult FakeInstrument::WriteByte(MemorySpace space, ParameterAddress address,
                                         std::uint32_t value) {
  const ExchangeResult r =
      Begin(Operation::Kind::kWriteByte, space, address, Width::kByte, value);
  if (r == result::kOk) memory_[{space, Width::kByte, address}] = ClampToByte(value);
  return r;
}

ExchangeResult FakeInstrument::WriteDword(MemorySpace space, ParameterAddress address,
                                          std::uint32_t value) {
  const ExchangeResult r =
      Begin(Operation::Kind::kWriteDword, space, address, Width::kDword, value);
  if (r == result::kOk) memory_[{space, Width::kDword, address}] = value;
  return r;
}

// The byte goes out clamped to 255 and must read back as the value asked for.
ExchangeResult FakeInstrument::WriteByteChecked(MemorySpace space, ParameterAddress address,
                                                std::uint32_t value) {
  const ExchangeResult r =
      Begin(Operation::Kind::kWriteByteChecked, space, address, Width::kByte, value);
  if (r != result::kOk) return r;
  const std::uint32_t stored = ClampToByte(value);
  memory_[{space, Width::kByte, address}] = stored;
  return Checked(stored == value);
}

// The instrument may store the float to its own precision; the read-back
// must lie within 0.01 of the value.
ExchangeResult FakeInstrument::WriteFloatChecked(MemorySpace space, ParameterAddress address,
                                                 float value) {
  const ExchangeResult r = Begin(Operation::Kind::kWriteFloatChecked, space, address,
                                 Width::kDword, std::bit_cast<std::uint32_t>(value));
  if (r != result::kOk) return r;
  const float stored = float_storage ? float_storage(value) : value;
  memory_[{space, Width::kDword, address}] = std::bit_cast<std::uint32_t>(stored);
  return Checked(std::fabs(stored - value) <= 0.01f);
}

ExchangeResult FakeInstrument::Checked(bool matched) {
  if (matched) return result::kOk;
  operations.back().result = result::kReadBackMismatch;
  return result::kReadBackMismatch;
}

ExchangeResult FakeInstrument::ReadStatusBlock(StatusBlock& block) {
  const ExchangeResult r = Begin(Operation::Kind::kReadStatusBlock, 1, 2, Width::kDword, 0);
  if (r == result::kOk) block = StatusBlock{};
  return r;
}

}  // namespace zrm::test
