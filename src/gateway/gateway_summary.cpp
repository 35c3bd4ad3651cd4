#include "gateway/gateway_summary.h"

#include "gateway/bus_parameter_names.h"
#include "gateway/gateway_texts.h"
#include "history/database_url.h"

namespace zrm {
namespace {

namespace t = gateway_texts;

template <typename Item, typename Text>
std::string Joined(const std::vector<Item>& items, Text text) {
  std::string out;
  for (const Item& item : items) out += (out.empty() ? "" : ", ") + text(item);
  return out;
}

std::string MqttLine(const std::optional<MqttConfig>& mqtt) {
  if (!mqtt) return t::kSummaryNoMqtt;
  std::string out = t::kSummaryMqtt + mqtt->host + ":" + std::to_string(mqtt->port);
  if (!mqtt->ca_file.empty()) out += t::kSummaryTls;
  if (!mqtt->user.empty()) out += t::kSummaryUser + mqtt->user;
  if (mqtt->discovery) out += t::kSummaryDiscovery;
  if (mqtt->retain) out += t::kSummaryRetain;
  return out;
}

std::string LineLine(const GatewayLine& line) {
  const auto number = [](std::uint32_t n) { return std::to_string(n); };
  const auto unit = [&](std::uint32_t a) { return std::to_string(a + line.unit_offset); };
  std::string out = line.name + ": " + line.bus.device + ", " + std::to_string(line.bus.speed) +
                    t::kSummarySpeed + Joined(line.bus.addresses, number) + t::kSummaryUnits +
                    Joined(line.bus.addresses, unit);
  if (line.listen)
    out += t::kSummaryOwnListener + line.listen->host + ":" + std::to_string(line.listen->port);
  if (!line.units.empty()) {
    // As Units= is written: "1:bar,°C;3:kPa".
    std::string units;
    for (const auto& [address, unit] : line.units)
      units += (units.empty() ? "" : ";") + std::to_string(address) + ":" + unit[0] +
               (unit[1].empty() ? "" : "," + unit[1]);
    out += t::kSummaryValueUnits + units;
  }
  if (line.bus.modes.rs485) out += t::kSummaryRs485;
  return out;
}

}  // namespace

std::string GatewaySummary(const std::string& path, const GatewayConfig& c) {
  std::string out = t::kSummaryFile + path + "\n";
  out += t::kSummaryPrefix + c.prefix + "\n";
  out += t::kSummaryPoll +
         (c.timing.poll_ms == 0 ? std::string(t::kSummaryAsFast)
                                : t::kSummaryPeriod + std::to_string(c.timing.poll_ms)) +
         t::kSummaryOffline + std::to_string(c.timing.offline_after) + t::kSummaryTimeout +
         std::to_string(c.timing.timeout_ms) + t::kSummaryAttempts +
         std::to_string(c.timing.attempts) + "\n";
  out += MqttLine(c.mqtt) + "\n";
  out += (c.modbus ? t::kSummaryModbus + c.modbus->host + ":" + std::to_string(c.modbus->port)
                   : std::string(t::kSummaryNoModbus)) +
         "\n";
  for (const GatewayLine& line : c.lines) out += LineLine(line) + "\n";
  if (!c.history_database.empty())
    out += t::kSummaryHistory + DatabaseLabel(c.history_database) + "\n";
  if (!c.write.allow) return out + t::kSummaryWritesOff + "\n";
  const auto name = [](BusParameter p) { return std::string(BusParameterName(p)); };
  return out + t::kSummaryWritesOn +
         (c.write.parameters.empty() ? std::string(t::kSummaryNothingListed)
                                     : Joined(c.write.parameters, name)) +
         "\n";
}

}  // namespace zrm
