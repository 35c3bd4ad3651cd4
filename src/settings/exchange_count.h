#pragma once
// How many parameter exchanges a transfer makes, known before it starts:
// the transfer is first run against an access that answers every request at
// once and an operator that shows nothing, which walks exactly the steps the
// record's switches select. The real run then reports each exchange done, so
// the progress panel can show how far along it is and how long is left.

#include <functional>

#include "link/operation_access.h"
#include "platform/operator.h"

namespace zrm {

// A transfer run on the given access and operator; its result is not needed
// for counting.
using CountedTransfer = std::function<void(ParameterAccess& access, Operator& op)>;

// The number of parameter exchanges `transfer` makes when every one succeeds.
// The transfer must work on a copy of the record: the trial run stores the
// trial answers (zero) in it.
int CountExchanges(const CountedTransfer& transfer);

// Passes every exchange on to `link` and then tells `op` how many of `total`
// are done, counting from 0 (which it tells at construction).
class CountingAccess : public OperationAccess {
 public:
  CountingAccess(ParameterAccess& link, Operator& op, int total);

 private:
  // Passes the operation on, then counts it done.
  ExchangeResult Perform(ParameterOperation& operation) override;

  ParameterAccess& link_;
  Operator& op_;
  int total_;
  int done_ = 0;
};

}  // namespace zrm
