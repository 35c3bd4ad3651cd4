#pragma once
// One event of an instrument's history: who did what to which instrument,
// from where, with what outcome, and for a write every parameter as the
// instrument held it before and after.

#include <cstdint>
#include <string>
#include <vector>

namespace zrm {

// One parameter a write changed: its name as the window shows it, the
// value the instrument held before and the one it held after (read back).
struct ParameterChange {
  std::string name;
  std::string before;
  std::string after;

  bool operator==(const ParameterChange&) const = default;
};

struct HistoryEvent {
  // Made where the event happened (workstation, program, process, moment
  // and a count), so that an event copied elsewhere is never taken twice.
  std::string id;
  std::int64_t time_ms = 0;  // UTC, ms since the epoch
  std::string workstation;   // host name
  std::string user;          // login name; for the daemon its user and the network origin
  std::string program;       // "zrm48setup", "zrm48ctl", "zrm48d"
  std::string version;
  std::string instrument_type;    // "4813"
  std::string instrument_number;  // "047-12345"
  std::string firmware;           // "2.1.4"
  std::string line;               // the port or line's device
  std::uint32_t address = 0;
  std::string action;   // "read", "write", "changes", "resume", …
  int result = 0;       // the exchange result, 0 for success
  std::string message;  // the outcome as the user was told it
  std::string backup;   // the backup's file name, when one was made
  std::string journal;  // the journal entry's file name, when one was opened
  std::vector<ParameterChange> changes;
  // A write is two events: one stored before its first frame (result -1,
  // under way), and one with its outcome naming the first here.
  std::string opening_id;
  // The chain of its origin (workstation and program): the hash of the
  // origin's event before it ("" for the first), and its own over its
  // content and that one. Set when the event is stored.
  std::string previous_hash;
  std::string hash;

  bool operator==(const HistoryEvent&) const = default;
};

// The origin whose chain an event extends: workstation and program.
std::string OriginOf(const HistoryEvent& event);

}  // namespace zrm
