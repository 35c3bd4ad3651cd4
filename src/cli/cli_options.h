#pragma once
// The command line of zrm48ctl taken apart: the global options, the command
// and its arguments, checked for form and range before anything runs.

#include <cstdint>
#include <string>
#include <vector>

#include "app/search_plan.h"
#include "link/parameter_access.h"

namespace zrm {

enum class CliCommand {
  kRead,
  kWrite,
  kReport,
  kStatus,
  kGet,
  kSet,
  kDiff,
  kBackup,
  kBatch,
  kScan,
  kPorts,
  kResume,
  kRollback,
  kWatch,
  kHistory
};

// What a raw read or write moves.
enum class RawKind { kByte, kDword, kStatusBlock };

// The highest address the protocol carries (13 bits).
inline constexpr ParameterAddress kMaxParameterAddress = 8191;

struct CliOptions {
  // Global options.
  std::string dir = ".";  // dev.dat and the logs live here
  std::string device;     // serial device instead of dev.dat's port
  std::string history_url;  // the plant's database of the history, checked
  bool rs485 = false;     // the port in the kernel's RS-485 mode
  bool yes = false;       // Yes to every question of the checks
  bool quiet = false;     // no progress lines
  bool help = false;
  bool version = false;

  CliCommand command = CliCommand::kStatus;

  // read, write: the profile file.
  std::string file;
  // report: --pdf FILE.
  std::string pdf;

  // status.
  std::uint32_t count = 1;
  std::uint32_t interval_ms = 500;

  // get, set. The space is passed on unchecked: the link refuses a space
  // other than 1 or 2 itself.
  MemorySpace space = 1;
  ParameterAddress address = 0;
  RawKind kind = RawKind::kByte;
  std::uint32_t byte_value = 0;  // set ... byte
  float float_value = 0;         // set ... dword
  bool checked = false;          // set --checked: write with read-back

  // write: only the parameters that differ; a backup before the whole write.
  bool changes_only = false;
  bool backup = false;

  // batch PLAN (in `file`).
  std::string results;     // --results FILE; empty: results.csv in the working folder
  std::uint32_t jobs = 0;  // --jobs N: lines at once; 0: not given (32 at once)
  bool resume = false;     // --resume: rows that succeeded before are not run again

  // history [ID]: the event, the filters, CSV, the check of the chains.
  std::string history_id;
  std::string since_text;
  std::string until_text;
  std::string action;
  bool csv = false;
  bool verify = false;

  // scan: the texts as given, then checked into the plan.
  std::string speeds_text;
  std::string addresses_text;
  std::uint32_t probe_ms = 50;
  SearchPlan plan;
  // watch: the sweeps to make (0: until Ctrl-C; the period is interval_ms)
  // and the addresses from --addresses (empty: not given).
  std::uint32_t sweeps = 0;
  std::vector<std::uint32_t> watch_addresses;
};

// Parses the arguments after the program name. False with a one-line
// `error` for a usage error (unknown command or option, missing or surplus
// argument, a number that is not a number or out of its range). --help and
// --version are honoured whatever else the line holds.
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options,
                     std::string& error);

}  // namespace zrm
