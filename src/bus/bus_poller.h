#pragma once
// The bus poller: one thread per configured line polls every instrument of
// that line in turn with the status read; lines run in parallel. After every
// poll it stores an immutable snapshot that readers copy under a short lock.
// Writes are queued to the line's thread and run between two polls.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bus/bus_config.h"
#include "bus/bus_events.h"
#include "bus/bus_snapshot.h"

namespace zrm {

class BusPoller {
 public:
  // `events` may be null and must outlive the poller.
  BusPoller(std::vector<BusLineConfig> lines, BusTiming timing, BusEvents* events);
  ~BusPoller();  // stops and joins every line thread
  BusPoller(const BusPoller&) = delete;
  BusPoller& operator=(const BusPoller&) = delete;

  // The folder whose journal/ keeps the entries of writes under way; the
  // process's working folder unless set. Call before Start.
  void SetWorkingDir(const std::string& dir);

  // Opens the lines and starts their threads. A line whose device cannot be
  // opened is tried again (its instruments offline meanwhile).
  void Start();
  // Stops every line within one exchange and joins the threads.
  void Stop();

  // Copies of every instrument's snapshot, lines in configuration order.
  std::vector<BusSnapshot> Snapshots() const;
  std::optional<BusSnapshot> SnapshotOf(std::size_t line, std::uint32_t address) const;

  // Queues a checked write of one parameter of the instrument at `address`
  // on `line`; it runs between two polls with the preparation steps, the
  // checks before writing and the read-back of the window's write of
  // changes. `done` is called once, on the line's thread, with the outcome.
  // The line never goes blind: between two writes every instrument of the
  // line is polled once. A write of a parameter already queued for the same
  // instrument takes the queued one's place (both are answered with its
  // outcome); a value equal to the one last read is answered at once with
  // no frame sent; beyond kMostQueuedWrites the write is refused as busy.
  static constexpr std::size_t kMostQueuedWrites = 16;
  using WriteDone = std::function<void(const BusWriteOutcome&)>;
  void RequestWrite(std::size_t line, std::uint32_t address, BusParameter parameter, float value,
                    WriteDone done);

  // What each line did, lines in configuration order.
  std::vector<BusLineStats> Stats() const;

  // True when every line's thread came back from its line or its wait
  // within `stalled_after`: a thread stuck in a driver call does not. The
  // longest a line waits in one call is one reply wait.
  bool LinesAlive(std::chrono::milliseconds stalled_after) const;

  // The values last read from the instrument for the holding registers and
  // `set` topics (read with the identity); empty while not read.
  std::optional<float> ParameterValue(std::size_t line, std::uint32_t address,
                                      BusParameter parameter) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zrm
