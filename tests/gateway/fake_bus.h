#pragma once
// A bus the gateway's sinks read without lines: snapshots and parameter
// values set by the test, writes recorded and answered when the test says.

#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "gateway/bus_access.h"

namespace zrm::test {

// An answered instrument: a 4813 "047-12345" with both channels' values.
BusSnapshot AnsweredSnapshot(std::size_t line, std::uint32_t address);

class FakeBus : public BusAccess {
 public:
  struct Write {
    std::size_t line;
    std::uint32_t address;
    BusParameter parameter;
    float value;
    WriteDone done;
  };

  void Set(const BusSnapshot& snapshot);
  void SetParameter(std::size_t line, std::uint32_t address, BusParameter p, float value);
  // Writes requested so far; with `outcome`, each is answered at once.
  std::vector<Write> Writes() const;
  void AnswerWritesWith(std::optional<BusWriteOutcome> outcome);

  std::optional<BusSnapshot> SnapshotOf(std::size_t line, std::uint32_t address) const override;
  std::optional<float> ParameterValue(std::size_t line, std::uint32_t address,
                                      BusParameter parameter) const override;
  void RequestWrite(std::size_t line, std::uint32_t address, BusParameter parameter, float value,
                    const std::string& origin, WriteDone done) override;
  std::vector<BusLineStats> LineStats() const override {
    const std::lock_guard lock(mutex_);
    return stats_;
  }
  void SetStats(std::vector<BusLineStats> stats) {
    const std::lock_guard lock(mutex_);
    stats_ = std::move(stats);
  }

 private:
  using Key = std::pair<std::size_t, std::uint32_t>;
  mutable std::mutex mutex_;
  std::map<Key, BusSnapshot> snapshots_;
  std::map<std::pair<Key, BusParameter>, float> parameters_;
  std::vector<Write> writes_;
  std::optional<BusWriteOutcome> answer_;
  std::vector<BusLineStats> stats_;
};

}  // namespace zrm::test
