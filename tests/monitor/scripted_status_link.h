#pragma once
// A stand-in instrument for the monitor tests: answers ReadStatusBlock from
// a script of results and blocks, and refuses every other operation.

#include <deque>
#include <utility>

#include "link/operation_access.h"

namespace zrm::test {

class ScriptedStatusLink : public OperationAccess {
 public:
  // Each entry: the result and, for result 0, the block returned.
  std::deque<std::pair<ExchangeResult, StatusBlock>> script;
  // Answer when the script is empty.
  ExchangeResult default_result = result::kNoAnswer;
  int status_reads = 0;

  int other_operations = 0;

 private:
  ExchangeResult Perform(ParameterOperation& operation) override {
    if (operation.kind != OperationKind::kReadStatusBlock) {
      ++other_operations;
      return result::kNotUnderstood;
    }
    ++status_reads;
    if (script.empty()) return default_result;
    auto [r, b] = script.front();
    script.pop_front();
    if (r == result::kOk) operation.block = b;
    return r;
  }
};

}  // namespace zrm::test
