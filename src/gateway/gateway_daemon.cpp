#include "gateway/gateway_daemon.h"

#include <signal.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <list>
#include <optional>

#include "app/history_recorder.h"
#include "bus/bus_poller.h"
#include "gateway/gateway_config.h"
#include "gateway/gateway_events.h"
#include "gateway/gateway_log.h"
#include "gateway/gateway_options.h"
#include "gateway/gateway_summary.h"
#include "gateway/gateway_texts.h"
#include "gateway/modbus_server.h"
#include "gateway/mqtt_sink.h"
#include "gateway/plant_write_history.h"
#include "gateway/poller_bus_access.h"
#include "gateway/service_notifier.h"
#include "gateway/tls_files.h"
#include "link/reply_wait.h"
#include "platform/file_kind.h"
#include "platform/system_reason.h"

namespace zrm {
namespace {

namespace t = gateway_texts;

constexpr std::uintmax_t kMostConfigBytes = 1 << 20;

// Reads and checks the configuration; false with "FILE:LINE: what" (or
// "FILE: what" for the whole file).
bool LoadConfig(const std::string& path, GatewayConfig& config, std::string& error) {
  // Only a regular file is read, and only a small one: a FIFO is never
  // opened, a device (/dev/zero) never read.
  if (const std::string kind = NotRegularFileAt(path); !kind.empty()) {
    error = path + ": " + t::kConfigNotRegular + kind;
    return false;
  }
  std::error_code size_error;
  if (const auto size = std::filesystem::file_size(path, size_error);
      !size_error && size > kMostConfigBytes) {
    error = path + ": " + t::kConfigTooBig + std::to_string(size);
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  // Read as a range: streaming an empty file's buffer would count as a
  // failure, with no system error to tell.
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file.is_open() || file.bad()) {
    error = t::kCannotReadConfig + path + ": " + SystemReason(errno);
    return false;
  }
  ConfigError refusal;
  if (ParseGatewayConfig(text, config, refusal)) return true;
  error = path + (refusal.line > 0 ? ":" + std::to_string(refusal.line) : std::string()) + ": " +
          refusal.message;
  return false;
}

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

std::vector<BusLineConfig> BusLines(const GatewayConfig& config) {
  std::vector<BusLineConfig> lines;
  for (const GatewayLine& line : config.lines) lines.push_back(line.bus);
  return lines;
}

std::size_t InstrumentCount(const GatewayConfig& config) {
  std::size_t count = 0;
  for (const GatewayLine& line : config.lines) count += line.bus.addresses.size();
  return count;
}

// Every Modbus listener: [MODBUS] and each line's own.
std::vector<ModbusConfig> Listeners(const GatewayConfig& config) {
  std::vector<ModbusConfig> listeners;
  if (config.modbus) listeners.push_back(*config.modbus);
  for (const GatewayLine& line : config.lines)
    if (line.listen) listeners.push_back(*line.listen);
  return listeners;
}

std::size_t OnlineCount(const BusPoller& poller) {
  std::size_t online = 0;
  for (const BusSnapshot& s : poller.Snapshots())
    online += s.availability == BusAvailability::kOnline;
  return online;
}

// How long a line thread may stay in one call to its line before it counts
// as stuck: the longest reply wait (a write waits at least a second), and a
// margin for the system.
std::chrono::milliseconds StalledAfter(const BusTiming& timing) {
  constexpr std::uint32_t kMarginMs = 10'000;
  return std::chrono::milliseconds(std::max<std::uint32_t>(timing.timeout_ms, kMinimumReplyWaitMs) +
                                   kMarginMs);
}

// Polls and serves until SIGTERM or SIGINT (blocked in every thread).
int Serve(const GatewayConfig& config, GatewayLog& log, const sigset_t& stop_signals) {
  GatewayEvents events(config, log);
  BusPoller poller(BusLines(config), config.timing, &events);
  PollerBusAccess lines(poller);
  // The daemon's working folder keeps its history beside the journal.
  HistoryRecorder history(".", "zrm48d", config.history_database);
  PlantWriteHistory bus(lines, history, config, log);
  events.Add(bus);
  std::list<ModbusServer> modbus;
  std::optional<MqttSink> mqtt;
  std::string error;
  for (const ModbusConfig& listener : Listeners(config))
    if (!modbus.emplace_back(config, listener, bus, log).Listen(error)) {
      log.Error(error);
      return kGatewayUnavailableExit;
    }
  if (config.mqtt) {
    if (!mqtt.emplace(config, bus, log).Prepare(error)) {
      log.Error(error);
      return kGatewayUnavailableExit;
    }
    events.Add(*mqtt);
    mqtt->Start();
  }
  poller.Start();
  for (ModbusServer& server : modbus) server.Start();
  log.Info(t::kStarted + std::to_string(config.lines.size()) + t::kInstruments +
           std::to_string(InstrumentCount(config)));
  const ServiceNotifier notifier;
  const auto status = [&] {
    return ServiceStatus(config.lines.size(), InstrumentCount(config), OnlineCount(poller));
  };
  notifier.Ready(status());
  const std::chrono::milliseconds stalled_after = StalledAfter(config.timing);
  for (;;) {
    const auto period = notifier.TickPeriod();
    timespec wait{static_cast<time_t>(period.count() / 1000),
                  static_cast<long>(period.count() % 1000) * 1'000'000};
    if (sigtimedwait(&stop_signals, nullptr, &wait) >= 0) break;
    notifier.Tick(poller.LinesAlive(stalled_after), status());
  }
  notifier.Stopping();
  log.Info(t::kStopping);
  // The lines first: no event reaches a sink once they are stopped.
  poller.Stop();
  bus.Stop();
  for (ModbusServer& server : modbus) server.Stop();
  if (mqtt) mqtt->Stop();
  log.Info(t::kStopped);
  return 0;
}

}  // namespace

int RunGateway(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  GatewayOptions options;
  std::string error;
  if (!ParseGatewayOptions(args, options, error)) {
    std::fprintf(err, "zrm48d: %s\n%s", error.c_str(), t::kUsage);
    return kGatewayUsageExit;
  }
  if (options.help) {
    std::fputs(t::kUsage, out);
    return 0;
  }
  if (options.version) {
    std::fprintf(out, "zrm48d %s\n", ZRM_VERSION);
    return 0;
  }
  GatewayConfig config;
  if (!LoadConfig(options.config, config, error)) {
    std::fprintf(err, "zrm48d: %s\n", error.c_str());
    return kGatewayConfigExit;
  }
  if (options.check) {
    // What the start would refuse, --check refuses too.
    if (config.mqtt && !CheckTlsFiles(*config.mqtt, error)) {
      std::fprintf(err, "zrm48d: %s\n", error.c_str());
      return kGatewayUnavailableExit;
    }
    std::fputs(GatewaySummary(options.config, config).c_str(), out);
    return 0;
  }
  const sigset_t stop_signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  GatewayLog log(err, StartedBySystemd());
  return Serve(config, log, stop_signals);
}

}  // namespace zrm
