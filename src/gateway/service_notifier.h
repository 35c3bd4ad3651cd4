#pragma once
// The daemon's word to systemd (sd_notify): READY once the lines run and the
// listeners listen, STATUS kept current, and the watchdog pinged only while
// every line thread makes progress, so that a line stuck in a driver call
// has systemd restart the daemon. Without systemd every call does nothing.

#include <chrono>
#include <cstddef>
#include <string>

namespace zrm {

class ServiceNotifier {
 public:
  // Reads whether systemd watches the daemon, and how often.
  ServiceNotifier();

  // How often Tick is due: half the watchdog's period, or 10 s without one.
  std::chrono::milliseconds TickPeriod() const { return tick_period_; }

  void Ready(const std::string& status) const;
  // STATUS= always; WATCHDOG=1 only when `lines_alive`.
  void Tick(bool lines_alive, const std::string& status) const;
  void Stopping() const;

 private:
  bool watchdog_ = false;
  std::chrono::milliseconds tick_period_{10'000};
};

// "линий 16, приборов 128, на связи 127".
std::string ServiceStatus(std::size_t lines, std::size_t instruments, std::size_t online);

}  // namespace zrm
