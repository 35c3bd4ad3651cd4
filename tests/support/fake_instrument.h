#pragma once
// An in-memory instrument behind the parameter operations, for tests of the
// transfers: a parameter memory keyed by space, width and address, a log of
// every operation in order, scripted failures, and an optional model of the
// instrument's float precision for read-backs.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "link/operation_access.h"

namespace zrm::test {

enum class Width { kByte, kDword };

struct Operation {
  using Kind = OperationKind;
  Kind kind;
  MemorySpace space = 0;
  ParameterAddress address = 0;
  std::uint32_t value = 0;  // the value written (a float write: its bit pattern)
  ExchangeResult result = result::kOk;

  // "rb 2:315", "rd 2:15", "wb 2:0=47", "wd 2:15=0x42C80000", "wbc 2:315=17",
  // "wfc 2:15=100", "status"; a failure appends " !N".
  std::string Text() const;
};

class FakeInstrument : public OperationAccess {
 public:
  // Every operation in the order it was asked for, failed ones included.
  std::vector<Operation> operations;

  // What a float write stores; by default the value itself.
  std::function<float(float)> float_storage;

  void SetByte(MemorySpace space, ParameterAddress address, std::uint8_t value);
  void SetDword(MemorySpace space, ParameterAddress address, std::uint32_t value);
  void SetFloat(MemorySpace space, ParameterAddress address, float value);
  // The stored values; nullopt when nothing is stored there.
  std::optional<std::uint8_t> Byte(MemorySpace space, ParameterAddress address) const;
  std::optional<float> Float(MemorySpace space, ParameterAddress address) const;

  // The Nth operation (1 for the first) fails with `r` and changes nothing.
  void FailOperation(int n, ExchangeResult r);
  // Every operation on this parameter fails with `r` and changes nothing.
  void FailAddress(MemorySpace space, Width width, ParameterAddress address, ExchangeResult r);

  // The texts of the operations, in order.
  std::vector<std::string> Log() const;

 private:
  // Logs the operation, then does it on the memory unless it is scripted to
  // fail.
  ExchangeResult Perform(ParameterOperation& operation) override;

  using Key = std::tuple<MemorySpace, Width, ParameterAddress>;

  // Logs the operation and returns its scripted failure, or 0.
  ExchangeResult Begin(const ParameterOperation& operation, Width width);
  // The operation on the memory, once it is known not to fail.
  ExchangeResult Do(ParameterOperation& operation);
  std::uint32_t Stored(const Key& key) const;
  // The result of a read-back comparison, also noted on the logged write.
  ExchangeResult Checked(bool matched);

  std::map<Key, std::uint32_t> memory_;
  std::map<int, ExchangeResult> failing_operations_;
  std::map<Key, ExchangeResult> failing_addresses_;
};

}  // namespace zrm::test
