#pragma once
// The plant's writes in the history of changes. A write reaches the bus only
// once its opening event is stored; its outcome, with each parameter before
// and after, follows when the line ends it, and so does every repair the
// daemon made after a failed one. The events are stored by a thread of
// their own, so that no line ever waits for the history's file or database.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "app/history_recorder.h"
#include "gateway/bus_access.h"
#include "gateway/gateway_config.h"
#include "gateway/gateway_log.h"

namespace zrm {

class PlantWriteHistory : public BusAccess, public BusEvents {
 public:
  // Events waiting to be stored at most; a write beyond them is refused.
  static constexpr std::size_t kMostWaiting = 4096;

  // `bus`, `history`, `config` and `log` must outlive this object.
  PlantWriteHistory(BusAccess& bus, HistoryRecorder& history, const GatewayConfig& config,
                    GatewayLog& log);
  ~PlantWriteHistory() override { Stop(); }
  PlantWriteHistory(const PlantWriteHistory&) = delete;
  PlantWriteHistory& operator=(const PlantWriteHistory&) = delete;

  std::optional<BusSnapshot> SnapshotOf(std::size_t line, std::uint32_t address) const override {
    return bus_.SnapshotOf(line, address);
  }
  std::optional<float> ParameterValue(std::size_t line, std::uint32_t address,
                                      BusParameter parameter) const override {
    return bus_.ParameterValue(line, address, parameter);
  }
  std::vector<BusLineStats> LineStats() const override { return bus_.LineStats(); }
  // Stores the write's opening event, then hands the write to the bus; a
  // write whose event cannot be stored is refused with no frame sent.
  void RequestWrite(std::size_t line, std::uint32_t address, BusParameter parameter, float value,
                    const std::string& origin, WriteDone done) override;

  // Stores what still waits, then ends the thread; called once the lines
  // stopped, while the sinks that asked for writes are still there.
  void Stop();

  void OnPolled(const BusSnapshot& /*snapshot*/) override {}
  void OnAvailability(const BusSnapshot& /*snapshot*/) override {}
  void OnRepaired(const BusSnapshot& snapshot, const BusWriteOutcome& outcome) override;

 private:
  struct Task {
    HistoryEvent event;
    std::function<void()> stored;                         // may be empty
    std::function<void(const std::string&)> not_stored;  // may be empty
  };

  // A new event of the daemon for the instrument at `line` and `address`,
  // asked for from `origin`.
  HistoryEvent NewEvent(const std::string& action, std::size_t line, std::uint32_t address,
                        const std::string& origin);
  // Queues `task`; false when too many wait.
  bool Queue(Task task);
  void Run();
  // Logs a failure to store once, until an event is stored again.
  void Failed(const std::string& error);

  BusAccess& bus_;
  HistoryRecorder& history_;
  const GatewayConfig& config_;
  GatewayLog& log_;
  std::string service_user_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Task> tasks_;
  bool stopping_ = false;
  std::string last_failure_;  // the thread's own
  std::thread thread_;
};

}  // namespace zrm
