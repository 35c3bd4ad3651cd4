#pragma once
// Runs a program as a child in a given folder and times it from just before
// it is started to the moment it has ended, with its peak memory.

#include <string>
#include <vector>

#include "platform/line.h"

namespace zrm::bench {

struct ChildRun {
  bool started = false;
  std::string error;                 // why it could not be started
  int exit_status = -1;              // the exit code; -1 when killed by a signal
  SteadyClock::time_point spawned;   // just before the child was started
  double wall_ms = 0;                // spawned .. reaped
  long peak_rss_kib = 0;             // largest resident set of the child
  std::string output;                // everything it wrote to stdout
};

// Starts `argv` (argv[0] a path) in folder `dir` with `extra_env`
// ("NAME=value") added to this process's environment, collects its stdout
// and waits for it to end.
ChildRun RunChild(const std::vector<std::string>& argv, const std::string& dir,
                  const std::vector<std::string>& extra_env);

// A fresh empty folder under the system's temporary folder; empty on failure.
std::string MakeEmptyFolder();

// Names of the entries of `dir`, sorted.
std::vector<std::string> FolderEntries(const std::string& dir);

// Removes `dir` and everything in it.
void RemoveFolder(const std::string& dir);

}  // namespace zrm::bench
