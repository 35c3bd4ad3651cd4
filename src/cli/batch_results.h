#pragma once
// The results of a batch: one CSV line per row run, appended whole as soon as
// the row ends, so the file is whole whenever the batch stops. The columns:
// time, device, address, action, type, serial, firmware, result, message,
// file, then plan, plan_hash and profile_hash, which tell --resume which plan
// and profile a row ran (added last, so readers of the first ten columns keep
// working).

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "cli/batch_plan.h"

namespace zrm {

struct ResultRow {
  std::string time;  // local, "2026-12-08 14:05:09"
  std::string device;
  std::uint32_t address = 0;
  std::string action;    // as the plan spells it
  std::string type;      // "4813"; empty when the instrument was not read
  std::string serial;    // "047-12345"
  std::string firmware;  // "1.1.10"
  int result = 0;
  std::string message;
  std::string file;          // the file the row wrote, if any
  std::string plan;          // the plan's absolute path
  std::string plan_hash;     // ContentHash of the plan
  std::string profile_hash;  // write, changes, verify: FileContentHash of the profile
};

// The header line, without its line end.
std::string ResultsHeader();

// A row as its CSV line, without its line end.
std::string ResultLine(const ResultRow& row);

class ResultsFile {
 public:
  ResultsFile() = default;
  ~ResultsFile();
  ResultsFile(const ResultsFile&) = delete;
  ResultsFile& operator=(const ResultsFile&) = delete;

  // Opens `path` for appending, never waiting on it: a path that exists and
  // is not a regular file is refused. Writes the header when the file is new
  // or empty, and ends a line cut by an earlier crash so that no row joins
  // it. False with "path: why" in `error`.
  bool Open(const std::string& path, std::string& error);

  // Appends one row whole, or nothing of it (a partly written line is cut
  // off again); safe from several threads. After the first failure every
  // later row is refused too, so that the file never skips a row it had
  // room for later. False with "path: why" in `error`.
  bool Append(const ResultRow& row, std::string& error);

 private:
  std::mutex mutex_;
  int fd_ = -1;
  std::string path_;
  std::string failure_;  // "path: why" after a failed append
};

// The rows of one plan that succeeded before: for each (device, address,
// action, profile_hash), how many rows of the results file with the same
// plan path and plan hash ended with result 0.
using SucceededRows =
    std::map<std::tuple<std::string, std::uint32_t, std::string, std::string>, int>;

// SucceededRows of the plan `plan_path` with `plan_hash` in the results file
// `path`. Columns are found by the header's names; a line that does not
// parse (cut off by a crash) counts for nothing. A header without the
// columns (a file of an earlier version) or with a column twice yields no
// row, with the reason in `warning`.
SucceededRows ReadSucceededRows(const std::string& path, const std::string& plan_path,
                                const std::string& plan_hash, std::string& warning);

// The local time now as the results file writes it.
std::string ResultTimeNow();

}  // namespace zrm
