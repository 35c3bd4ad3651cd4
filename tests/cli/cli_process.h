#pragma once
// Runs the programs of the build tree as a user would: zrm48ctl with its
// arguments, stdout and stderr captured, and zrm48sim serving a
// pseudo-terminal until the test ends.

#include <sys/resource.h>
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace zrm::test {

// Paths of the programs beside this test in the build tree.
std::string CtlPath();
std::string SimPath();

struct CliOutcome {
  int exit_code = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

struct CliRunOptions {
  std::string tmpdir;               // when not empty, the program's TMPDIR
  bool stderr_on_terminal = false;  // stderr a pseudo-terminal instead of a pipe
  bool stdout_on_terminal = false;  // likewise stdout
  // setrlimit's (resource, limit) for the program, such as RLIMIT_FSIZE for
  // a disk that fills up; SIGXFSZ is ignored, so a write past the file size
  // limit fails with EFBIG as one on a full disk fails.
  std::vector<std::pair<int, rlim_t>> limits = {};
};

// A zrm48ctl run in progress.
class CliRun {
 public:
  explicit CliRun(const std::vector<std::string>& args, const CliRunOptions& options = {});
  ~CliRun();
  CliRun(const CliRun&) = delete;
  CliRun& operator=(const CliRun&) = delete;

  // Sends SIGINT, as Ctrl-C in the terminal does.
  void Interrupt();

  // The program's process id, to look at it under /proc while it runs.
  pid_t Pid() const { return pid_; }

  // Waits for the program to end and collects what it printed.
  CliOutcome Finish();

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
};

// Runs zrm48ctl to its end.
CliOutcome RunCtl(const std::vector<std::string>& args, const CliRunOptions& options = {});

// The lines of a program's output or a file, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// What a command could change of a file: its bytes, its inode (an atomic
// replacement gives a new one) and its modification time; "missing" when
// there is no file.
std::string FileState(const std::string& path);

// FileState after the file's modification time is set a year back, so that
// a rewrite within the same second shows too.
std::string AgedFileState(const std::string& path);

// The zrm48sim program serving until destroyed (SIGTERM).
class SimProgram {
 public:
  explicit SimProgram(const std::vector<std::string>& args = {});
  ~SimProgram();
  SimProgram(const SimProgram&) = delete;
  SimProgram& operator=(const SimProgram&) = delete;

  // The slave device path it printed; empty when it did not start.
  const std::string& DevicePath() const { return path_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;  // kept open so a late line never meets a closed pipe
  std::string path_;
};

}  // namespace zrm::test
