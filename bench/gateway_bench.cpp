// The gateway's figures: the time from an instrument's answer to its state
// message at a subscriber on the same machine, and zrm48d serving 16 lines
// of 8 and 64 lines of 16 simulated instruments at 9600 bit/s with line
// timing (its share of one core, its peak memory, and how often each
// instrument's state comes),
// and a set point written from Modbus and from MQTT against its wire time.
// Needs Debian's mosquitto; prints markdown rows, passes or fails on nothing.
//
//   zrm48bench_gateway [--seconds S] [--daemon PATH]

#include <modbus.h>
#include <mosquitto.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bus/bus_poller.h"
#include "gateway/gateway_log.h"
#include "gateway/modbus_registers.h"
#include "gateway/mqtt_sink.h"
#include "gateway/poller_bus_access.h"
#include "gateway/state_json.h"
#include "lib/bus_options.h"
#include "lib/simulator.h"
#include "sample_stats.h"
#include "support/child_program.h"
#include "support/mosquitto_broker.h"

namespace {

using namespace zrm;
using Clock = std::chrono::steady_clock;

// The broker on a free port of 127.0.0.1, anonymous, no persistence,
// listening when this returns.
std::unique_ptr<test::MosquittoBroker> StartBroker(const std::string& dir) {
  auto broker = std::make_unique<test::MosquittoBroker>(test::MosquittoBroker::Mode::kPlain, dir);
  if (!broker->Start()) std::fprintf(stderr, "zrm48bench_gateway: mosquitto did not start\n");
  return broker;
}

// A subscriber that calls `on` for every message, from its network thread.
class Subscriber {
 public:
  using On = std::function<void(const std::string& topic, const std::string& payload)>;
  Subscriber(int port, const std::string& topic, On on) : topic_(topic), on_(std::move(on)) {
    client_ = mosquitto_new(nullptr, true, this);
    mosquitto_connect_callback_set(client_, [](mosquitto* m, void* self, int) {
      mosquitto_subscribe(m, nullptr, static_cast<Subscriber*>(self)->topic_.c_str(), 0);
    });
    mosquitto_message_callback_set(client_, [](mosquitto*, void* self, const mosquitto_message* m) {
      static_cast<Subscriber*>(self)->on_(
          m->topic, std::string(static_cast<const char*>(m->payload), m->payloadlen));
    });
    mosquitto_connect(client_, "127.0.0.1", port, 30);
    mosquitto_loop_start(client_);
  }
  void Publish(const std::string& topic, const std::string& payload) {
    mosquitto_publish(client_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                      payload.data(), 1, false);
  }
  ~Subscriber() {
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, false);
    mosquitto_destroy(client_);
  }

 private:
  mosquitto* client_;
  std::string topic_;
  On on_;
};

// Hands every event to the sink after noting when the answer came, by the
// state message the sink will publish for it.
class AnswerTimes : public BusEvents {
 public:
  // Before the poller starts.
  void SetSink(BusEvents& sink) { sink_ = &sink; }
  void OnPolled(const BusSnapshot& s) override {
    if (s.last_result == result::kOk && s.has_values) {
      const std::lock_guard lock(mutex_);
      answered_[StateJson(s)] = s.last_answer;
    }
    sink_->OnPolled(s);
  }
  void OnAvailability(const BusSnapshot& s) override { sink_->OnAvailability(s); }
  std::optional<Clock::time_point> AnsweredAt(const std::string& payload) {
    const std::lock_guard lock(mutex_);
    const auto it = answered_.find(payload);
    if (it == answered_.end()) return std::nullopt;
    return it->second;
  }

 private:
  BusEvents* sink_ = nullptr;
  std::mutex mutex_;
  std::map<std::string, Clock::time_point> answered_;
};

void Latency(int seconds, const std::string& dir) {
  const auto broker = StartBroker(dir);
  const int port = broker->Port();
  sim::Simulator bus(sim::BusOptions({1, 2, 3, 4, 5, 6, 7, 8}, 9600));
  bus.Start();
  GatewayConfig config;
  config.mqtt = MqttConfig{};
  config.mqtt->port = static_cast<std::uint16_t>(port);
  config.lines = {{{bus.SlavePath(), 9600, {1, 2, 3, 4, 5, 6, 7, 8}}, 0, "LINE1"}};
  std::FILE* log_file = std::fopen("/dev/null", "w");
  GatewayLog log(log_file, true);
  std::mutex mutex;
  std::vector<double> latencies_ms;
  AnswerTimes tap;
  BusPoller poller({config.lines[0].bus}, config.timing, &tap);
  PollerBusAccess access(poller);
  MqttSink sink(config, access, log);
  tap.SetSink(sink);
  std::string error;
  sink.Prepare(error);
  sink.Start();
  Subscriber subscriber(port, "zrm48/+/state", [&](const std::string&, const std::string& p) {
    const auto now = Clock::now();
    if (const auto at = tap.AnsweredAt(p)) {
      const std::lock_guard lock(mutex);
      latencies_ms.push_back(std::chrono::duration<double, std::milli>(now - *at).count());
    }
  });
  std::this_thread::sleep_for(std::chrono::seconds(1));
  poller.Start();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  poller.Stop();
  sink.Stop();
  std::fclose(log_file);
  const std::lock_guard lock(mutex);
  std::printf(
      "| answer to state message at a subscriber, 1 line × 8 at 9600 | %zu | %.2f | %.2f | %.2f "
      "|\n",
      latencies_ms.size(), bench::Median(latencies_ms), bench::Percentile(latencies_ms, 0.99),
      bench::Largest(latencies_ms));
}

// utime + stime of `pid` in clock ticks.
long CpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const std::size_t name_end = text.rfind(')');
  if (name_end == std::string::npos) return 0;  // the process is gone
  std::istringstream fields(text.substr(name_end + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) {
      stime = std::stol(field);
      break;
    }
  }
  return utime + stime;
}

// VmHWM of `pid` in KiB.
long PeakKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:")) return std::stol(line.substr(6));
  return 0;
}

// zrm48d serving `line_count` lines of `per_line` instruments at 9600 bit/s
// with line timing, each line with a Modbus listener of its own, every
// instrument a serial number (and so an MQTT id) of its own.
void Lines(int line_count, int per_line, int seconds, const std::string& daemon,
           const std::string& dir) {
  const auto broker = StartBroker(dir);
  const int port = broker->Port();
  std::vector<std::unique_ptr<sim::Simulator>> lines;
  std::vector<unsigned> addresses;
  for (int a = 1; a <= per_line; ++a) addresses.push_back(static_cast<unsigned>(a));
  std::ostringstream ini;
  ini << "[MQTT]\nPort=" << port << "\n";
  // A free port may be handed out twice: each line's listener its own.
  std::set<int> listeners;
  while (listeners.size() < static_cast<std::size_t>(line_count)) listeners.insert(test::FreePort());
  auto listener = listeners.begin();
  for (int i = 0; i < line_count; ++i) {
    sim::SimulatorOptions options = sim::BusOptions(addresses, 9600);
    options.serial = 20000 + static_cast<unsigned>(per_line * i);
    lines.push_back(std::make_unique<sim::Simulator>(options));
    lines.back()->Start();
    ini << "[LINE" << i + 1 << "]\nDevice=" << lines.back()->SlavePath() << "\nAddresses=1-"
        << per_line << "\nListen=127.0.0.1:" << *listener++ << "\n";
  }
  std::ofstream(dir + "/zrm48d.ini") << ini.str();
  // Per instrument: its states counted, the first and the last one's time.
  struct Arrivals {
    int count = 0;
    Clock::time_point first;
    Clock::time_point last;
  };
  std::mutex mutex;
  std::map<std::string, Arrivals> states;
  Subscriber subscriber(port, "zrm48/+/state", [&](const std::string& topic, const std::string&) {
    const std::lock_guard lock(mutex);
    Arrivals& a = states[topic];
    a.last = Clock::now();
    if (a.count++ == 0) a.first = a.last;
  });
  test::ChildProgram gateway({daemon, "--config", dir + "/zrm48d.ini"}, dir);
  // The identities (and the parameters read with them) first: every
  // instrument publishing, at most five minutes.
  const std::size_t instruments = static_cast<std::size_t>(line_count * per_line);
  test::WaitUntil(
      [&] {
        const std::lock_guard lock(mutex);
        return states.size() == instruments;
      },
      std::chrono::minutes(5));
  const long ticks_before = CpuTicks(gateway.Pid());
  const auto start = Clock::now();
  {
    const std::lock_guard lock(mutex);
    states.clear();
  }
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const std::map<std::string, Arrivals> counted = [&] {
    const std::lock_guard lock(mutex);
    return states;
  }();
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = (CpuTicks(gateway.Pid()) - ticks_before) /
                     static_cast<double>(sysconf(_SC_CLK_TCK)) / elapsed;
  const long peak = PeakKib(gateway.Pid());
  // An instrument's rate is its states between its first and its last over
  // that time, free of where the window's ends fell in its sweep; one that
  // published fewer than two counts with rate 0.
  std::vector<double> rates(instruments - std::min(instruments, counted.size()), 0.0);
  for (const auto& [topic, a] : counted) {
    const double span = std::chrono::duration<double>(a.last - a.first).count();
    rates.push_back(a.count > 1 && span > 0 ? (a.count - 1) / span : 0.0);
  }
  // One status poll at 9600: 23 bytes out, 42 back, 10 bits each, plus the
  // instrument's 5 ms turnaround; a sweep polls every instrument of the line.
  const double line_rate = 1.0 / (per_line * (65.0 * 10 / 9600 + 0.005));
  std::printf("| %d lines × %d at 9600, line timing | %zu | %.3f | %.3f | %.3f | %.2f | %.1f %% | %.1f |\n",
              line_count, per_line, counted.size(), bench::Median(rates),
              *std::min_element(rates.begin(), rates.end()), line_rate,
              *std::min_element(rates.begin(), rates.end()) / line_rate, cpu * 100,
              peak / 1024.0);
}

// The wire time of a plant write from the frames the instrument received
// for it (every frame but the status polls): each request and its reply at
// 9600 bit/s, 10 bits a byte, plus the instrument's 5 ms turnaround.
double WriteWireMs(const std::vector<sim::ReceivedFrame>& frames) {
  double ms = 0;
  for (const sim::ReceivedFrame& f : frames) {
    const bool poll = f.fields.command == 37u && f.fields.parameter &&
                      f.fields.parameter->space == 1;
    if (poll) continue;
    ms += (f.raw.size() + f.reply.size()) * 10.0 / 9600 * 1000 + 5;
  }
  return ms;
}

// One instrument at 9600 bit/s with line timing; its set point 1 written
// eight times from Modbus (libmodbus, 1 s time-out) and eight times from
// MQTT, each write sent as soon as the one before it was answered, so each
// also waits out the restart of the one before and one poll.
void PlantWrites(const std::string& daemon, const std::string& dir) {
  sim::SimulatorOptions options;
  options.line_timing = true;
  sim::Simulator instrument(options);
  instrument.Start();
  const auto broker = StartBroker(dir);
  const int port = broker->Port();
  const int modbus_port = test::FreePort();
  std::ofstream(dir + "/writes.ini") << "[MQTT]\nPort=" << port << "\n[MODBUS]\nListen=127.0.0.1:"
                                     << modbus_port << "\n[LINE1]\nDevice="
                                     << instrument.SlavePath()
                                     << "\nAddresses=1\n[WRITE]\nAllow=1\nParameters=ch1_th1\n";
  std::mutex mutex;
  std::condition_variable changed;
  int results = 0;
  bool online = false;
  Subscriber plant(port, "zrm48/#", [&](const std::string& topic, const std::string& payload) {
    const std::lock_guard lock(mutex);
    if (topic.ends_with("/set/ch1_th1/result")) ++results;
    if (topic.ends_with("/availability") && payload == "online") online = true;
    changed.notify_all();
  });
  test::ChildProgram gateway({daemon, "--config", dir + "/writes.ini"}, dir);
  {
    std::unique_lock lock(mutex);
    changed.wait_for(lock, std::chrono::seconds(30), [&] { return online; });
  }
  modbus_t* modbus = modbus_new_tcp("127.0.0.1", modbus_port);
  modbus_connect(modbus);
  modbus_set_slave(modbus, 1);
  modbus_set_response_timeout(modbus, 1, 0);
  const auto row = [](const char* from, const std::vector<double>& measured,
                      const std::vector<double>& wire, int within) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < measured.size(); ++i) ratios.push_back(measured[i] / wire[i]);
    std::printf("| %s | %zu | %.1f | %.1f | %.1f | %.2f | %.2f | %d |\n", from, measured.size(),
                bench::Median(measured), *std::max_element(measured.begin(), measured.end()),
                bench::Median(wire), bench::Median(ratios),
                *std::max_element(ratios.begin(), ratios.end()), within);
  };
  for (const bool mqtt : {false, true}) {
    std::vector<double> measured;
    std::vector<double> wire;
    int within = 0;
    for (int i = 0; i < 8; ++i) {
      const float value = (mqtt ? 200.0f : 100.0f) + static_cast<float>(i);
      instrument.ClearFrames();
      const auto start = Clock::now();
      bool answered = false;
      if (mqtt) {
        std::unique_lock lock(mutex);
        const int before = results;
        plant.Publish("zrm48/047-12345/set/ch1_th1", std::to_string(static_cast<int>(value)));
        answered = changed.wait_for(lock, std::chrono::seconds(10),
                                    [&] { return results > before; });
      } else {
        const auto registers = FloatRegisters(value);
        answered = modbus_write_registers(modbus, 100, 2, registers.data()) == 2;
      }
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      if (answered && ms < 1000) ++within;
      measured.push_back(ms);
      wire.push_back(WriteWireMs(instrument.Frames()));
    }
    row(mqtt ? "MQTT `set/ch1_th1`" : "Modbus function 16", measured, wire, within);
  }
  modbus_close(modbus);
  modbus_free(modbus);
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 20;
  std::string daemon = "src/gateway/zrm48d";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--seconds") seconds = std::stoi(argv[i + 1]);
    if (option == "--daemon") daemon = argv[i + 1];
  }
  // The daemon runs in the benchmark's own folder: its path must not depend
  // on where the benchmark was started.
  daemon = std::filesystem::absolute(daemon).string();
  char dir_template[] = "/tmp/zrm48bench_gateway.XXXXXX";
  const std::string dir = mkdtemp(dir_template);
  mosquitto_lib_init();
  std::printf("| latency | messages | median ms | 99th percentile ms | largest ms |\n");
  std::printf("|---|---:|---:|---:|---:|\n");
  Latency(seconds, dir);
  std::printf(
      "\n| load | instruments publishing | states per s per instrument (median) | (slowest) | "
      "line's own rate per instrument | slowest / line's rate | daemon CPU (of one core) | "
      "peak memory MiB |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
  Lines(16, 8, seconds, daemon, dir);
  Lines(64, 16, seconds, daemon, dir);
  std::printf(
      "\n| plant write, one after another | writes | median ms | largest ms | wire ms (median) | "
      "ratio (median) | ratio (worst) | answered within 1 s |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
  PlantWrites(daemon, dir);
  mosquitto_lib_cleanup();
  std::filesystem::remove_all(dir);
  return 0;
}
