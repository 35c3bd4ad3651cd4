#pragma once
// Serial devices arriving and leaving, told by udev as they happen: the
// monitor's file descriptor becomes readable and Receive() takes the news,
// so the caller's event loop or link thread watches it; nothing polls.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zrm {

struct DeviceEvent {
  bool arrived = false;            // false: the device left
  std::string node;                // "/dev/ttyUSB0"
  std::vector<std::string> links;  // its symbolic links ("/dev/serial/by-id/…")

  // True when `path` names this device: its node or one of its links.
  bool Names(const std::string& path) const;
};

class DeviceMonitor {
 public:
  DeviceMonitor();
  ~DeviceMonitor();
  DeviceMonitor(const DeviceMonitor&) = delete;
  DeviceMonitor& operator=(const DeviceMonitor&) = delete;

  // The descriptor to watch for reading; -1 when udev could not be reached
  // (no hot-plug news then, and nothing else changes).
  int Fd() const;

  // The next arrival or departure of a tty device, without waiting; empty
  // when none is pending (or the news was about something else).
  std::optional<DeviceEvent> Receive();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zrm
