#include "gateway/fake_bus.h"

namespace zrm::test {

BusSnapshot AnsweredSnapshot(std::size_t line, std::uint32_t address) {
  BusSnapshot s;
  s.line = line;
  s.address = address;
  s.availability = BusAvailability::kOnline;
  s.identity = {true, 1, 47, 12345, 0x4A};
  s.has_values = true;
  s.channel[0] = {491.0974f, 0, 0x02};
  s.channel[1] = {0.7457f, 0, 0};
  s.relay_byte = 0x01;
  s.last_answer = std::chrono::steady_clock::now();
  s.last_answer_wall = std::chrono::system_clock::now();
  s.polls_answered = 1;
  return s;
}

void FakeBus::Set(const BusSnapshot& snapshot) {
  const std::lock_guard lock(mutex_);
  snapshots_[{snapshot.line, snapshot.address}] = snapshot;
}

void FakeBus::SetParameter(std::size_t line, std::uint32_t address, BusParameter p, float value) {
  const std::lock_guard lock(mutex_);
  parameters_[{{line, address}, p}] = value;
}

std::vector<FakeBus::Write> FakeBus::Writes() const {
  const std::lock_guard lock(mutex_);
  return writes_;
}

void FakeBus::AnswerWritesWith(std::optional<BusWriteOutcome> outcome) {
  const std::lock_guard lock(mutex_);
  answer_ = std::move(outcome);
}

std::optional<BusSnapshot> FakeBus::SnapshotOf(std::size_t line, std::uint32_t address) const {
  const std::lock_guard lock(mutex_);
  const auto it = snapshots_.find({line, address});
  if (it == snapshots_.end()) return std::nullopt;
  return it->second;
}

std::optional<float> FakeBus::ParameterValue(std::size_t line, std::uint32_t address,
                                             BusParameter parameter) const {
  const std::lock_guard lock(mutex_);
  const auto it = parameters_.find({{line, address}, parameter});
  if (it == parameters_.end()) return std::nullopt;
  return it->second;
}

void FakeBus::RequestWrite(std::size_t line, std::uint32_t address, BusParameter parameter,
                           float value, const std::string& /*origin*/, WriteDone done) {
  std::optional<BusWriteOutcome> answer;
  {
    const std::lock_guard lock(mutex_);
    writes_.push_back({line, address, parameter, value, done});
    answer = answer_;
  }
  if (answer) done(*answer);
}

}  // namespace zrm::test
