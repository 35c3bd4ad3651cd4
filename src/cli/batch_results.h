#pragma once
// The results of a batch: one CSV line per row run, appended and flushed as
// soon as the row ends, so the file is whole whenever the batch stops. The
// columns: time, device, address, action, type, serial, firmware, result,
// message, file.

#include <cstdint>
#include <cstdio>
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
  std::string action;  // as the plan spells it
  std::string type;      // "4813"; empty when the instrument was not read
  std::string serial;    // "047-12345"
  std::string firmware;  // "1.1.10"
  int result = 0;
  std::string message;
  std::string file;  // the file the row wrote, if any
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

  // Opens `path` for appending and writes the header when the file is new
  // or empty. False with "path: why" in `error`.
  bool Open(const std::string& path, std::string& error);

  // Appends one row and flushes it; safe from several threads.
  void Append(const ResultRow& row);

 private:
  std::mutex mutex_;
  std::FILE* file_ = nullptr;
};

// Which rows already succeeded: for each (device, address, action), how many
// rows of the results file ended with result 0. A line that does not parse
// (cut off by a crash) counts for nothing.
using SucceededRows = std::map<std::tuple<std::string, std::uint32_t, std::string>, int>;
SucceededRows ReadSucceededRows(const std::string& path);

// The local time now as the results file writes it.
std::string ResultTimeNow();

}  // namespace zrm
