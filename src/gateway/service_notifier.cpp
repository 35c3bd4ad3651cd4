#include "gateway/service_notifier.h"

#include <systemd/sd-daemon.h>

#include <cstdint>

#include "gateway/gateway_texts.h"

namespace zrm {

namespace t = gateway_texts;

ServiceNotifier::ServiceNotifier() {
  std::uint64_t usec = 0;
  watchdog_ = sd_watchdog_enabled(0, &usec) > 0 && usec > 0;
  if (watchdog_) tick_period_ = std::chrono::milliseconds(usec / 2000);
}

void ServiceNotifier::Ready(const std::string& status) const {
  sd_notify(0, ("READY=1\nSTATUS=" + status).c_str());
}

void ServiceNotifier::Tick(bool lines_alive, const std::string& status) const {
  sd_notify(0, ("STATUS=" + status).c_str());
  if (watchdog_ && lines_alive) sd_notify(0, "WATCHDOG=1");
}

void ServiceNotifier::Stopping() const { sd_notify(0, "STOPPING=1"); }

std::string ServiceStatus(std::size_t lines, std::size_t instruments, std::size_t online) {
  return t::kStatusLines + std::to_string(lines) + t::kStatusInstruments +
         std::to_string(instruments) + t::kStatusOnline + std::to_string(online);
}

}  // namespace zrm
