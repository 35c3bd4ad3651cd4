#pragma once
// The polling of the instruments of one line over a Line that someone else
// owns and opens: the bus poller's line threads drive one each, and the
// window's worker drives one between its own commands, so that one line
// always has one poller. Not thread-safe: one thread drives it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bus/bus_config.h"
#include "bus/bus_events.h"
#include "bus/bus_snapshot.h"
#include "platform/line.h"

namespace zrm {

class BusLinePoll {
 public:
  // `line` must outlive this object.
  BusLinePoll(std::size_t line_index, Line& line, std::int32_t speed,
              std::vector<std::uint32_t> addresses, BusTiming timing);
  ~BusLinePoll();

  // Polls the next instrument in turn with the status read (its identity
  // first when it is due: at start and after every return to online) and
  // returns its new snapshot.
  BusSnapshot PollNext();

  // Every instrument offline at once: the line's device vanished.
  std::vector<BusSnapshot> MarkAllOffline();

  // The line was opened anew: what is left on it is waited out before the
  // next request.
  void LineOpened();

  // The checked write of one parameter, with the preparation steps, the
  // checks before writing and the read-back of the window's write of changes.
  BusWriteOutcome Write(std::uint32_t address, BusParameter parameter, float value);

  // The repairs made since the last call (after a failed write, and after
  // answered polls until one went through): the instrument and the outcome.
  std::vector<std::pair<BusSnapshot, BusWriteOutcome>> TakeRepairs();

  // The folder whose journal/ keeps the entries of writes under way (the
  // process's working folder unless set), and the line's name that keeps
  // them apart from another line's instruments of the same serial number.
  void SetWorkingDir(std::string dir, std::string line_name);

  // The value last read from the instrument (with its identity or after a
  // write); empty while not read.
  std::optional<float> ParameterValue(std::uint32_t address, BusParameter parameter) const;

  std::vector<BusSnapshot> Snapshots() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zrm
