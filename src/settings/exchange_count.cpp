#include "settings/exchange_count.h"

#include <algorithm>

#include "platform/silent_operator.h"

namespace zrm {

namespace {

// Answers every exchange at once with success, leaving out-values as they
// are, and counts them.
class TrialAccess : public ParameterAccess {
 public:
  int Count() const { return count_; }

  ExchangeResult ReadByte(MemorySpace, ParameterAddress, std::uint8_t&) override { return Ok(); }
  ExchangeResult ReadDword(MemorySpace, ParameterAddress, std::uint32_t&) override {
    return Ok();
  }
  ExchangeResult WriteByte(MemorySpace, ParameterAddress, std::uint32_t) override { return Ok(); }
  ExchangeResult WriteDword(MemorySpace, ParameterAddress, std::uint32_t) override { return Ok(); }
  ExchangeResult WriteByteChecked(MemorySpace, ParameterAddress, std::uint32_t) override {
    return Ok();
  }
  ExchangeResult WriteFloatChecked(MemorySpace, ParameterAddress, float) override { return Ok(); }
  ExchangeResult ReadStatusBlock(StatusBlock&) override { return Ok(); }

 private:
  ExchangeResult Ok() {
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

ExchangeResult CountingAccess::Done(ExchangeResult r) {
  // A transfer never makes more exchanges than its trial run; the bound only
  // keeps a bar from overflowing should one ever do.
  done_ = std::min(done_ + 1, total_);
  op_.SetProgressCount(done_, total_);
  return r;
}

ExchangeResult CountingAccess::ReadByte(MemorySpace space, ParameterAddress address,
                                        std::uint8_t& value) {
  return Done(link_.ReadByte(space, address, value));
}

ExchangeResult CountingAccess::ReadDword(MemorySpace space, ParameterAddress address,
                                         std::uint32_t& value) {
  return Done(link_.ReadDword(space, address, value));
}

ExchangeResult CountingAccess::WriteByte(MemorySpace space, ParameterAddress address,
                                         std::uint32_t value) {
  return Done(link_.WriteByte(space, address, value));
}

ExchangeResult CountingAccess::WriteDword(MemorySpace space, ParameterAddress address,
                                          std::uint32_t value) {
  return Done(link_.WriteDword(space, address, value));
}

ExchangeResult CountingAccess::WriteByteChecked(MemorySpace space, ParameterAddress address,
                                                std::uint32_t value) {
  return Done(link_.WriteByteChecked(space, address, value));
}

ExchangeResult CountingAccess::WriteFloatChecked(MemorySpace space, ParameterAddress address,
                                                 float value) {
  return Done(link_.WriteFloatChecked(space, address, value));
}

ExchangeResult CountingAccess::ReadStatusBlock(StatusBlock& block) {
  return Done(link_.ReadStatusBlock(block));
}

}  // namespace zrm
