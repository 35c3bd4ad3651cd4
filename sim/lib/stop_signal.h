#pragma once
// A self-pipe that wakes the serving thread out of any wait when Stop() is
// called, and the waits built on it.

#include <string_view>

#include "lib/received_frame.h"

namespace zrm::sim {

enum class WaitResult { kReady, kDeadline, kStopped, kBroken };

class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  bool Valid() const { return read_fd_ >= 0; }
  void Raise();

  // Waits until `fd` is readable, the signal is raised or `deadline` passes.
  WaitResult WaitReadable(int fd, Clock::time_point deadline) const;
  // Waits until `fd` can take bytes (a full pseudo-terminal queue drains).
  WaitResult WaitWritable(int fd) const;
  // Sleeps until `deadline`; false when stopped first.
  bool SleepUntil(Clock::time_point deadline) const;

 private:
  WaitResult Wait(int fd, short events, Clock::time_point deadline) const;

  int read_fd_ = -1;
  int write_fd_ = -1;
};

// Writes every byte to a non-blocking `fd`; false when stopped or the line broke.
bool WriteAll(int fd, std::string_view bytes, const StopSignal& stop);

}  // namespace zrm::sim
