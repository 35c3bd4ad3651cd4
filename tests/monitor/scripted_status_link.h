#pragma once
// A stand-in instrument for the monitor tests: answers ReadStatusBlock from
// a script of results and blocks, and refuses every other operation.

#include <deque>
#include <utility>

#include "link/parameter_access.h"

namespace zrm::test {

class ScriptedStatusLink : public ParameterAccess {
 public:
  // Each entry: the result and, for result 0, the block returned.
  std::deque<std::pair<ExchangeResult, StatusBlock>> script;
  // Answer when the script is empty.
  ExchangeResult default_result = result::kNoAnswer;
  int status_reads = 0;

  ExchangeResult ReadStatusBlock(StatusBlock& block) override {
    ++status_reads;
    if (script.empty()) return default_result;
    auto [r, b] = script.front();
    script.pop_front();
    if (r == result::kOk) block = b;
    return r;
  }

  ExchangeResult ReadByte(MemorySpace, ParameterAddress, std::uint8_t&) override { return Refuse(); }
  ExchangeResult ReadDword(MemorySpace, ParameterAddress, std::uint32_t&) override { return Refuse(); }
  ExchangeResult WriteByte(MemorySpace, ParameterAddress, std::uint32_t) override { return Refuse(); }
  ExchangeResult WriteDword(MemorySpace, ParameterAddress, std::uint32_t) override { return Refuse(); }
  ExchangeResult WriteByteChecked(MemorySpace, ParameterAddress, std::uint32_t) override {
    return Refuse();
  }
  ExchangeResult WriteFloatChecked(MemorySpace, ParameterAddress, float) override { return Refuse(); }

  int other_operations = 0;

 private:
  ExchangeResult Refuse() {
    ++other_operations;
    return result::kNotUnderstood;
  }
};

}  // namespace zrm::test
