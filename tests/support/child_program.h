#pragma once
// A program a test or a benchmark starts beside it (the broker, zrm48d,
// mosquitto_sub, mbpoll): its output kept in files, signalled and waited for.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace zrm::test {

class ChildProgram {
 public:
  // Starts `argv` (argv[0] looked up in PATH) in `dir` with `extra_env`
  // ("NAME=value") added; stdout and stderr go to files there.
  ChildProgram(const std::vector<std::string>& argv, const std::string& dir,
               const std::vector<std::string>& extra_env = {});
  ~ChildProgram();  // SIGKILL and reaped when still running
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  pid_t Pid() const { return pid_; }
  void Signal(int signal) const;
  // The exit status, -1 after a signal, -2 when still running at the end of `timeout`.
  int Wait(std::chrono::milliseconds timeout);
  std::string Out() const;
  std::string Err() const;

 private:
  pid_t pid_ = -1;
  int status_ = -2;
  std::string out_path_;
  std::string err_path_;
};

// Runs `argv` to its end (at most `timeout`) and gives its exit status and stdout.
struct ProgramOutput {
  int status = -2;
  std::string out;
  std::string err;
};
ProgramOutput RunProgram(const std::vector<std::string>& argv, const std::string& dir,
                         std::chrono::milliseconds timeout);

// A TCP port on 127.0.0.1 that nothing listens on now.
int FreePort();

// Waits until something accepts connections on 127.0.0.1:`port`.
bool WaitForListener(int port, std::chrono::milliseconds timeout);

// Waits until `done` holds, checking every 20 ms.
template <typename Done>
bool WaitUntil(Done done, std::chrono::milliseconds timeout);

}  // namespace zrm::test

#include <thread>

template <typename Done>
bool zrm::test::WaitUntil(Done done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
