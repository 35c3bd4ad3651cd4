#pragma once
// What a bus poller tells its readers. Called on the line's own thread right
// after the snapshot was stored: implementations copy what they need and
// return at once (a slow reader must never slow a line).

#include <cstdint>
#include <string>

#include <vector>

#include "bus/bus_snapshot.h"
#include "history/history_event.h"
#include "link/exchange_result.h"

namespace zrm {

// The eight parameters the plant may write: set points and hystereses of
// each channel.
enum class BusParameter { kCh1Th1, kCh1His1, kCh1Th2, kCh1His2, kCh2Th1, kCh2His1, kCh2Th2, kCh2His2 };

struct BusWriteOutcome {
  ExchangeResult result = result::kOk;  // 0: written and read back
  std::string message;                  // the refusal or the result's message; empty on success
  bool busy = false;  // refused, nothing queued: the line's write queue was full
  bool sent = false;  // frames that change the instrument went out (a restart may follow)
  // Each parameter that went in, as the instrument held it before and
  // after (read back), for the history of changes.
  std::vector<ParameterChange> changes = {};
};

// What one line did since the start, for the plant to watch the gateway.
struct BusLineStats {
  std::uint64_t polls = 0;     // status polls made
  std::uint64_t failed = 0;    // of them unanswered or refused
  std::uint64_t sweep_ms = 0;  // the last whole sweep of the line, waits between sweeps left out
  std::uint64_t writes = 0;    // writes that ended with success
  std::uint64_t refused = 0;   // writes refused, failed, or not queued (busy)
  std::uint64_t queued = 0;    // writes waiting now
};

class BusEvents {
 public:
  virtual ~BusEvents() = default;
  // After every poll (answered or not) with the instrument's new snapshot.
  virtual void OnPolled(const BusSnapshot& snapshot) = 0;
  // When an instrument's availability changed (online, offline) or its
  // identity was read anew.
  virtual void OnAvailability(const BusSnapshot& snapshot) = 0;
  // After a write from the plant ended: the values last read of the
  // writable parameters may have changed.
  virtual void OnParameters(const BusSnapshot& /*snapshot*/) {}
  // After the daemon put back (or tried to) what a failed plant write left
  // in the instrument.
  virtual void OnRepaired(const BusSnapshot& /*snapshot*/, const BusWriteOutcome& /*outcome*/) {}
  // When line `line`'s device could not be opened, for a reason other than
  // the one told last ("path: why"; the open is retried meanwhile, and the
  // reason is told again only after the line was open).
  virtual void OnPortRefused(std::size_t /*line*/, const std::string& /*reason*/) {}
  // What the user should know about line `line`'s device, once ("path: …",
  // a USB adapter's slow latency timer).
  virtual void OnPortNotice(std::size_t /*line*/, const std::string& /*text*/) {}
};

}  // namespace zrm
