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

ExchangeResult FakeInstrument::Perform(ParameterOperation& operation) {
  const bool byte = operation.kind == Operation::Kind::kReadByte ||
                    operation.kind == Operation::Kind::kWriteByte ||
                    operation.kind == Operation::Kind::kWriteByteChecked;
  if (ExchangeResult r = Begin(operation, byte ? Width::kByte : Width::kDword)) return r;
  return Do(operation);
}

ExchangeResult FakeInstrument::Begin(const ParameterOperation& o, Width width) {
  ExchangeResult r = result::kOk;
  const int n = static_cast<int>(operations.size()) + 1;
  if (const auto it = failing_operations_.find(n); it != failing_operations_.end()) r = it->second;
  if (const auto it = failing_addresses_.find({o.space, width, o.address});
      it != failing_addresses_.end())
    r = it->second;
  const bool write = o.kind != Operation::Kind::kReadByte &&
                     o.kind != Operation::Kind::kReadDword &&
                     o.kind != Operation::Kind::kReadStatusBlock;
  operations.push_back({o.kind, o.space, o.address, write ? o.value : 0, r});
  return r;
}

std::uint32_t FakeInstrument::Stored(const Key& key) const {
  const auto it = memory_.find(key);
  return it == memory_.end() ? 0 : it->second;
}

ExchangeResult FakeInstrument::Do(ParameterOperation& o) {
  const Key byte{o.space, Width::kByte, o.address};
  const Key dword{o.space, Width::kDword, o.address};
  switch (o.kind) {
    case Operation::Kind::kReadByte: o.value = Stored(byte) & 0xFFu; return result::kOk;
    case Operation::Kind::kReadDword: o.value = Stored(dword); return result::kOk;
    case Operation::Kind::kWriteByte: memory_[byte] = ClampToByte(o.value); return result::kOk;
    case Operation::Kind::kWriteDword: memory_[dword] = o.value; return result::kOk;
    case Operation::Kind::kWriteByteChecked:
      // The byte goes out clamped to 255 and must read back as the value asked for.
      memory_[byte] = ClampToByte(o.value);
      return Checked(memory_[byte] == o.value);
    case Operation::Kind::kWriteFloatChecked: {
      // The instrument may store the float to its own precision; the
      // read-back must lie within 0.01 of the value.
      const float value = std::bit_cast<float>(o.value);
      const float stored = float_storage ? float_storage(value) : value;
      memory_[dword] = std::bit_cast<std::uint32_t>(stored);
      return Checked(std::fabs(stored - value) <= 0.01f);
    }
    case Operation::Kind::kReadStatusBlock: o.block = StatusBlock{}; return result::kOk;
  }
  return result::kNotUnderstood;
}

ExchangeResult FakeInstrument::Checked(bool matched) {
  if (matched) return result::kOk;
  operations.back().result = result::kReadBackMismatch;
  return result::kReadBackMismatch;
}

}  // namespace zrm::test
