#pragma once
// What the gateway's sinks ask of the bus: copies of snapshots, the values
// last read for the writable parameters, and writes queued between polls.
// The bus poller answers in the daemon; tests answer with a table.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bus/bus_events.h"
#include "bus/bus_snapshot.h"

namespace zrm {

class BusAccess {
 public:
  using WriteDone = std::function<void(const BusWriteOutcome&)>;

  virtual ~BusAccess() = default;
  // A copy of the instrument's last snapshot; empty for one not configured.
  virtual std::optional<BusSnapshot> SnapshotOf(std::size_t line, std::uint32_t address) const = 0;
  // The parameter's value last read from the instrument; empty while not read.
  virtual std::optional<float> ParameterValue(std::size_t line, std::uint32_t address,
                                              BusParameter parameter) const = 0;
  // Queues a checked write asked for from `origin` (the network client as
  // the history names it); `done` is called once with its outcome, from
  // another thread.
  virtual void RequestWrite(std::size_t line, std::uint32_t address, BusParameter parameter,
                            float value, const std::string& origin, WriteDone done) = 0;
  // What each line did, lines in configuration order.
  virtual std::vector<BusLineStats> LineStats() const = 0;
};

}  // namespace zrm
