#include "settings/exchange_count.h"

#include <algorithm>

#include "platform/silent_operator.h"

namespace zrm {

namespace {

// Answers every exchange at once with success, leaving out-values as they
// are, and counts them.
class TrialAccess : public OperationAccess {
 public:
  int Count() const { return count_; }

 private:
  ExchangeResult Perform(ParameterOperation&) override {
    ++count_;
    return result::kOk;
  }

  int count_ = 0;
};

}  // namespace

int CountExchanges(const CountedTransfer& transfer) {
  TrialAccess trial;
  SilentOperator silent(false);  // never sees ESC: the trial walks the whole transfer
  transfer(trial, silent);
  return trial.Count();
}

CountingAccess::CountingAccess(ParameterAccess& link, Operator& op, int total)
    : link_(link), op_(op), total_(total) {
  op_.SetProgressCount(0, total_);
}

ExchangeResult CountingAccess::Perform(ParameterOperation& operation) {
  const ExchangeResult r = PerformOn(link_, operation);
  // A transfer never makes more exchanges than its trial run; the bound only
  // keeps a bar from overflowing should one ever do.
  done_ = std::min(done_ + 1, total_);
  op_.SetProgressCount(done_, total_);
  return r;
}

}  // namespace zrm
