#include "gateway/gateway_events.h"

#include "gateway/gateway_texts.h"
#include "gateway/state_json.h"

namespace zrm {

void GatewayEvents::OnPolled(const BusSnapshot& s) {
  bool changed = false;
  {
    const std::lock_guard lock(mutex_);
    bool& last = unfinished_[{s.line, s.address}];
    changed = last != s.unfinished_write;
    last = s.unfinished_write;
  }
  if (changed) {
    // Said once when a failed plant write leaves the instrument mixed, once
    // when the old settings are back.
    namespace t = gateway_texts;
    const std::string who = InstrumentId(s.identity) + t::kOnLine +
                            config_.lines[s.line].bus.device + t::kAtAddress +
                            std::to_string(s.address);
    if (s.unfinished_write)
      log_.Warning(t::kUnfinishedWrite + who);
    else
      log_.Info(t::kUnfinishedWriteRepaired + who);
  }
  for (BusEvents* sink : sinks_) sink->OnPolled(s);
}

void GatewayEvents::OnAvailability(const BusSnapshot& s) {
  bool changed = false;
  {
    const std::lock_guard lock(mutex_);
    BusAvailability& last = last_[{s.line, s.address}];
    changed = last != s.availability && s.availability != BusAvailability::kUnknown;
    last = s.availability;
  }
  if (changed) {
    namespace t = gateway_texts;
    const bool online = s.availability == BusAvailability::kOnline;
    const std::string who =
        (s.identity.known ? InstrumentId(s.identity) + t::kOnLine : std::string(t::kLineWord)) +
        config_.lines[s.line].bus.device + t::kAtAddress + std::to_string(s.address);
    if (online)
      log_.Info(t::kOnline + who);
    else
      log_.Warning(t::kOffline + who);
  }
  for (BusEvents* sink : sinks_) sink->OnAvailability(s);
}

void GatewayEvents::OnPortRefused(std::size_t line, const std::string& reason) {
  log_.Error(config_.lines[line].name + ": " + gateway_texts::kPortNotOpened + reason);
}

void GatewayEvents::OnPortNotice(std::size_t line, const std::string& text) {
  log_.Warning(config_.lines[line].name + ": " + text);
}

}  // namespace zrm
