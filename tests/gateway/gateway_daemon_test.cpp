// zrm48d as the plant runs it: the program started against the simulator's
// bus (three instruments on one line, one more on a second), Debian's
// mosquitto and Modbus clients; and its answers to bad command lines,
// configurations and listeners.

#include "gateway/gateway_daemon.h"

#include <gtest/gtest.h>
#include <modbus.h>
#include <signal.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "support/child_program.h"
#include "gateway/modbus_registers.h"
#include "support/mosquitto_broker.h"
#include "gateway/topic_recorder.h"
#include "lib/simulator.h"
#include "settings/parameter_map.h"
#include "support/scratch_dir.h"
#include "history/history_store.h"

namespace zrm::test {
namespace {

using namespace std::chrono_literals;
constexpr auto kWait = 10s;

std::string DaemonPath() {
  const auto build = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
  return (build / "src/gateway/zrm48d").string();
}

// What differs between the runs of the daemon.
struct DaemonRun {
  bool allow = false;       // [WRITE] Allow
  bool discovery = false;   // [MQTT] Discovery
  std::string line1 = "1-3";  // LINE1's Addresses
  std::string prefix = "zrm48";  // [GATEWAY] Prefix
};

// LINE2 has a Modbus listener of its own, at `line2_port`. The instrument at
// address 1 has a unit named for both channels: only its current input's is
// taken, its thermocouple's values are in °C.
std::string Config(const std::string& line1, const std::string& line2, int mqtt_port,
                   int modbus_port, int line2_port, const DaemonRun& run) {
  return "[GATEWAY]\nPrefix=" + run.prefix +
         "\nPollMs=200\nOfflineAfter=2\nTimeOutMs=100\nAttempts=2\n"
         "[MQTT]\nPort=" +
         std::to_string(mqtt_port) + "\nDiscovery=" + (run.discovery ? "1" : "0") +
         "\n[MODBUS]\nListen=127.0.0.1:" + std::to_string(modbus_port) + "\n[LINE1]\nDevice=" +
         line1 + "\nAddresses=" + run.line1 + "\nUnits=1:mV,bar\n[LINE2]\nDevice=" + line2 +
         "\nAddresses=5\nUnitOffset=100\nListen=127.0.0.1:" + std::to_string(line2_port) +
         "\n[WRITE]\nAllow=" + (run.allow ? "1" : "0") + "\nParameters=ch1_th1,ch2_his1\n";
}

// One key of a discovery message: `value` as JSON, or nullptr for a key
// that must not be there.
struct Key {
  const char* topic;  // after "homeassistant/"
  const char* key;
  const char* value;
};

// The Home Assistant entities of 047-12345: a thermocouple (one decimal)
// and a 4-20 mA input (two decimals, "bar" from Units=), as every run with
// discovery gives them.
const Key kSensorKeys[] = {
    {"sensor/zrm48_047-12345/ch1_value/config", "unique_id", "\"zrm48_047-12345_ch1_value\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "state_topic", "\"zrm48/047-12345/state\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "value_template", "\"{{ value_json.ch1.value }}\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "state_class", "\"measurement\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "device_class", "\"temperature\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "unit_of_measurement", "\"°C\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "suggested_display_precision", "1"},
    {"sensor/zrm48_047-12345/ch1_value/config", "availability",
     "[{\"topic\": \"zrm48/047-12345/availability\"}, {\"topic\": \"zrm48/gateway/running\", "
     "\"payload_available\": \"true\", \"payload_not_available\": \"false\"}]"},
    {"sensor/zrm48_047-12345/ch1_value/config", "availability_mode", "\"all\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "model", "\"4813 Н Двухканальный\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "serial_number", "\"047-12345\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "sw_version", "\"1.1.10\""},
    {"sensor/zrm48_047-12345/ch1_value/config", "via_device", "\"zrm48_gateway\""},
    {"sensor/zrm48_047-12345/ch2_value/config", "state_class", "\"measurement\""},
    {"sensor/zrm48_047-12345/ch2_value/config", "device_class", nullptr},
    {"sensor/zrm48_047-12345/ch2_value/config", "unit_of_measurement", "\"bar\""},
    {"sensor/zrm48_047-12345/ch2_value/config", "suggested_display_precision", "2"},
    {"sensor/zrm48_047-12345/ch2_status/config", "value_template",
     "\"{{ value_json.ch2.status_text }}\""},
    {"binary_sensor/zrm48_047-12345/ch1_sp2/config", "value_template",
     "\"{{ 'ON' if value_json.ch1.sp2 else 'OFF' }}\""},
    {"binary_sensor/zrm48_047-12345/ch1_sp2/config", "device_class", nullptr},
    {"binary_sensor/zrm48_047-12345/ch2_break/config", "value_template",
     "\"{{ 'ON' if value_json.ch2.break else 'OFF' }}\""},
    {"binary_sensor/zrm48_047-12345/ch2_break/config", "device_class", "\"problem\""},
    {"binary_sensor/zrm48_047-12345/relay2/config", "value_template",
     "\"{{ 'ON' if value_json.relays[1] else 'OFF' }}\""},
    {"binary_sensor/zrm48_047-12345/relay2/config", "availability_mode", "\"all\""},
    {"binary_sensor/zrm48_gateway/running/config", "state_topic", "\"zrm48/gateway/running\""},
    {"binary_sensor/zrm48_gateway/running/config", "payload_on", "\"true\""},
    {"binary_sensor/zrm48_gateway/running/config", "payload_off", "\"false\""},
    {"binary_sensor/zrm48_gateway/running/config", "device_class", "\"connectivity\""},
    {"binary_sensor/zrm48_gateway/running/config", "availability", nullptr},
};

// With writes allowed for ch1_th1 and ch2_his1: two numbers bounded as the
// checks before writing bound them.
const Key kNumberKeys[] = {
    {"number/zrm48_047-12345/ch1_th1/config", "command_topic", "\"zrm48/047-12345/set/ch1_th1\""},
    {"number/zrm48_047-12345/ch1_th1/config", "state_topic", "\"zrm48/047-12345/parameters\""},
    {"number/zrm48_047-12345/ch1_th1/config", "value_template", "\"{{ value_json.ch1_th1 }}\""},
    {"number/zrm48_047-12345/ch1_th1/config", "min", "-999"},
    {"number/zrm48_047-12345/ch1_th1/config", "max", "9999"},
    {"number/zrm48_047-12345/ch1_th1/config", "step", "0.1"},
    {"number/zrm48_047-12345/ch1_th1/config", "mode", "\"box\""},
    {"number/zrm48_047-12345/ch1_th1/config", "unit_of_measurement", "\"°C\""},
    {"number/zrm48_047-12345/ch2_his1/config", "min", "0.01"},
    {"number/zrm48_047-12345/ch2_his1/config", "max", "10"},
    {"number/zrm48_047-12345/ch2_his1/config", "step", "0.01"},
    {"number/zrm48_047-12345/ch2_his1/config", "unit_of_measurement", "\"bar\""},
    {"number/zrm48_047-12345/ch2_his1/config", "availability_mode", "\"all\""},
};

// Each key as the message on its topic has it: followed by "," or "}" so
// that 1 is not taken for 10; absent where its value is nullptr.
template <std::size_t N>
void ExpectKeys(const TopicRecorder& plant, const Key (&keys)[N]) {
  for (const Key& k : keys) {
    const auto on = plant.On(std::string("homeassistant/") + k.topic);
    ASSERT_FALSE(on.empty()) << k.topic;
    const std::string& payload = on.back().payload;
    const std::string key = std::string("\"") + k.key + "\": ";
    const std::size_t at = payload.find(key);
    if (k.value == nullptr) {
      EXPECT_EQ(at, std::string::npos) << k.topic << " " << k.key << "\n" << payload;
      continue;
    }
    const std::string value = payload.substr(at == std::string::npos ? 0 : at + key.size());
    EXPECT_TRUE(value.starts_with(k.value) &&
                std::string(",}").find(value[std::string(k.value).size()]) != std::string::npos)
        << k.topic << " " << k.key << "\n" << payload;
  }
}

// The value of a string key of a message: "zrm48/047-12345/set/ch1_th1".
std::string StringKey(const std::string& payload, const std::string& key) {
  const std::string head = "\"" + key + "\": \"";
  const std::size_t at = payload.find(head);
  if (at == std::string::npos) return "";
  const std::size_t from = at + head.size();
  return payload.substr(from, payload.find('"', from) - from);
}

unsigned WriteFrames(const sim::Simulator& simulator) {
  unsigned count = 0;
  for (const sim::ReceivedFrame& f : simulator.Frames()) count += f.fields.command == 38u;
  return count;
}

// The datagram socket systemd gives a Type=notify service (NOTIFY_SOCKET),
// read at once as systemd reads it: what the daemon tells it, one message a
// datagram.
class NotifySocket {
 public:
  explicit NotifySocket(const std::string& path) : path_(path) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    reader_ = std::thread([this] { Read(); });
  }
  ~NotifySocket() {
    stop_ = true;
    reader_.join();
    ::close(fd_);
  }
  bool Bound() const { return bound_; }
  std::string Env() const { return "NOTIFY_SOCKET=" + path_; }

  // Waits for a message that holds `text`.
  bool WaitFor(const std::string& text, std::chrono::milliseconds timeout) const {
    return WaitUntil(
        [&] {
          const std::lock_guard lock(mutex_);
          return std::any_of(messages_.begin(), messages_.end(), [&](const std::string& m) {
            return m.find(text) != std::string::npos;
          });
        },
        timeout);
  }
  std::vector<std::string> Messages() const {
    const std::lock_guard lock(mutex_);
    return messages_;
  }

 private:
  void Read() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      char buffer[4096];
      const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
      const std::lock_guard lock(mutex_);
      if (got > 0) messages_.emplace_back(buffer, static_cast<std::size_t>(got));
    }
  }

  std::string path_;
  int fd_ = -1;
  bool bound_ = false;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> messages_;
  std::thread reader_;
};

class GatewayDaemonTest : public ::testing::Test {
 protected:
  GatewayDaemonTest() : second_line_(SecondLine()) {
    sim::SimulatorOptions three;
    three.address = 1;
    three.more_addresses = {2, 3};
    first_line_ = std::make_unique<sim::Simulator>(three);
    first_line_->Start();
    second_line_.SetByte(2, 11, 0x40);  // serial 047-12352, apart from 047-12345..12347
    // 047-12345's channel 1: a type K thermocouple rather than a Pt100.
    first_line_->SetByte(2, ChannelAddress(ChannelParameterOf(ChannelField::kDat), 0), 9);
    second_line_.Start();
    broker_.Start();
  }

  // At 9600 bit/s with every byte's wire time, as a real line.
  static sim::SimulatorOptions SecondLine() {
    sim::SimulatorOptions options;
    options.address = 5;
    options.line_timing = true;
    return options;
  }

  ScratchDir dir_;
  std::unique_ptr<sim::Simulator> first_line_;
  sim::Simulator second_line_;
  MosquittoBroker broker_{MosquittoBroker::Mode::kPlain, dir_.Path()};
  int modbus_port_ = FreePort();
  int line2_port_ = FreePort();
};

TEST_F(GatewayDaemonTest, ServesThreeInstrumentsOnTwoLinesOverMqttAndModbus) {
  WriteBytes(dir_.File("zrm48d.ini"), Config(first_line_->SlavePath(), second_line_.SlavePath(),
                                             broker_.Port(), modbus_port_, line2_port_,
                                             DaemonRun{true, true}));
  TopicRecorder plant(broker_.ClientConfig());
  ASSERT_TRUE(plant.Subscribed(kWait));
  NotifySocket systemd(dir_.File("notify"));
  ASSERT_TRUE(systemd.Bound());
  ChildProgram daemon({DaemonPath(), "--config", dir_.File("zrm48d.ini")}, dir_.Path(),
                      {"JOURNAL_STREAM=8:1", systemd.Env(), "WATCHDOG_USEC=1000000"});
  for (const char* id : {"047-12345", "047-12346", "047-12347", "047-12352"})
    ASSERT_TRUE(plant.WaitFor("zrm48/" + std::string(id) + "/availability", "online", kWait))
        << id << daemon.Err();
  // systemd hears READY once, then the status and the watchdog's pings.
  EXPECT_TRUE(systemd.WaitFor("READY=1\nSTATUS=линий 2, приборов 4, на связи ", kWait));
  EXPECT_TRUE(systemd.WaitFor("STATUS=линий 2, приборов 4, на связи 4", kWait))
      << testing::PrintToString(systemd.Messages());
  EXPECT_TRUE(systemd.WaitFor("WATCHDOG=1", kWait));
  // Home Assistant's entities, each announced before its instrument's availability.
  ExpectKeys(plant, kSensorKeys);
  ExpectKeys(plant, kNumberKeys);
  const auto set_point = plant.On("homeassistant/number/zrm48_047-12345/ch1_th1/config");
  const auto hysteresis = plant.On("homeassistant/number/zrm48_047-12345/ch2_his1/config");
  ASSERT_FALSE(set_point.empty() || hysteresis.empty());
  {
    // Home Assistant started after the gateway still finds its entities.
    TopicRecorder later(broker_.ClientConfig());
    for (const char* topic : {"homeassistant/number/zrm48_047-12345/ch1_th1/config",
                              "homeassistant/sensor/zrm48_047-12352/ch1_value/config"}) {
      const auto config = later.WaitFor(topic, "\"unique_id\"", kWait);
      ASSERT_TRUE(config) << topic;
      EXPECT_TRUE(config->retained) << topic;
    }
  }
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12352/info",
                            "\"address\": 5, \"line\": \"" + second_line_.SlavePath() + "\"",
                            kWait));
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12346/state", "\"status_text\": ", kWait));
  EXPECT_TRUE(plant.WaitFor("zrm48/gateway/running", "true", kWait));
  EXPECT_TRUE(plant.WaitFor("zrm48/gateway/stats",
                            "{\"lines\": [{\"line\": \"LINE1\", \"device\": \"" +
                                first_line_->SlavePath() + "\", \"polls\": ",
                            kWait));

  // mosquitto_sub and mbpoll read what the plant's tools read.
  const ProgramOutput sub = RunProgram({"mosquitto_sub", "-p", std::to_string(broker_.Port()), "-v",
                                        "-C", "1", "-t", "zrm48/047-12352/info"},
                                       dir_.Path(), kWait);
  EXPECT_NE(sub.out.find("zrm48/047-12352/info {\"type\": 4813"), std::string::npos) << sub.out;
  const ProgramOutput mbpoll =
      RunProgram({"mbpoll", "-m", "tcp", "-p", std::to_string(line2_port_), "-a", "105", "-t", "3",
                  "-0", "-r", "11", "-c", "4", "-1", "127.0.0.1"},
                 dir_.Path(), kWait);
  EXPECT_NE(mbpoll.out.find("[11]: \t4813\n[12]: \t47\n[13]: \t12352\n[14]: \t1"),
            std::string::npos)
      << mbpoll.out << mbpoll.err;

  // The second line's instrument stops answering: offline, and Modbus says
  // so rather than give its last values; then it returns.
  second_line_.AddFault({sim::FaultKind::kNoReply, {sim::FaultWhen::By::kShare, 0, 2, 0, {}, 1.0}});
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12352/availability", "offline", kWait));
  modbus_t* line2 = modbus_new_tcp("127.0.0.1", line2_port_);
  ASSERT_EQ(modbus_connect(line2), 0);
  modbus_set_slave(line2, 105);
  std::uint16_t registers[2];
  EXPECT_EQ(modbus_read_input_registers(line2, 0, 2, registers), -1);
  EXPECT_EQ(errno, EMBXGTAR);
  plant.Clear();
  second_line_.ClearFaults();
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12352/availability", "online", kWait));
  EXPECT_TRUE(
      WaitUntil([&] { return modbus_read_input_registers(line2, 0, 2, registers) == 2; }, kWait));
  // Two set points, the second right after the first's restart: each is
  // answered within the 1 s a SCADA client waits, and the instrument holds it.
  modbus_set_response_timeout(line2, 1, 0);
  for (const float value : {61.5f, 62.5f}) {
    const auto set_point = FloatRegisters(value);
    EXPECT_EQ(modbus_write_registers(line2, 100, 2, set_point.data()), 2) << modbus_strerror(errno);
  }
  EXPECT_EQ(second_line_.MemoryAt(5)->Float(29), 62.5f);
  modbus_close(line2);
  modbus_free(line2);
  // The line with a listener of its own is not served by [MODBUS].
  modbus_t* modbus = modbus_new_tcp("127.0.0.1", modbus_port_);
  ASSERT_EQ(modbus_connect(modbus), 0);
  modbus_set_slave(modbus, 105);
  EXPECT_EQ(modbus_read_input_registers(modbus, 0, 2, registers), -1);
  EXPECT_EQ(errno, EMBXGTAR);

  // Writes: one allowed goes to the instrument; one the checks refuse and
  // one not allowed send nothing.
  plant.Publish("zrm48/047-12346/set/ch1_th1", "123.5");
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12346/set/ch1_th1/result", "{\"ok\": true}", kWait));
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12346/parameters", "{\"ch1_th1\": 123.5, ", kWait));
  EXPECT_TRUE(WaitUntil([&] { return WriteFrames(*first_line_) > 0; }, kWait));
  const unsigned written = WriteFrames(*first_line_);
  plant.Publish("zrm48/047-12346/set/ch2_his1", "-1");
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12346/set/ch2_his1/result", "\"error\": 17", kWait));
  plant.Publish("zrm48/047-12346/set/ch1_his1", "1");
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12346/set/ch1_his1/result", "не разрешена", kWait));
  EXPECT_EQ(WriteFrames(*first_line_), written);
  // Holding registers give the value written.
  modbus_set_slave(modbus, 2);
  ASSERT_EQ(modbus_read_registers(modbus, 100, 2, registers), 2);
  EXPECT_EQ(FloatFromRegisters(registers[0], registers[1]), 123.5f);
  modbus_close(modbus);
  modbus_free(modbus);

  // A dashboard's number: the command topic it was given writes the
  // instrument, the state it reads follows; a value refused brings it back
  // to the instrument's value.
  plant.Publish(StringKey(set_point.back().payload, "command_topic"), "151.5");
  EXPECT_TRUE(plant.WaitFor(StringKey(set_point.back().payload, "state_topic"),
                            "{\"ch1_th1\": 151.5, ", kWait));
  EXPECT_EQ(first_line_->Float(ChannelAddress(ChannelParameterOf(ChannelField::kTh1), 0)), 151.5f);
  plant.Clear();
  plant.Publish(StringKey(hysteresis.back().payload, "command_topic"), "abc");
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/set/ch2_his1/result", "\"error\": 23", kWait));
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/parameters", "\"ch2_his1\": 0.2, ", kWait));

  // SIGTERM: a clean stop, said on the broker.
  plant.Clear();
  daemon.Signal(SIGTERM);
  EXPECT_EQ(daemon.Wait(kWait), 0);
  EXPECT_TRUE(plant.WaitFor("zrm48/gateway/running", "false", kWait));
  EXPECT_TRUE(systemd.WaitFor("STOPPING=1", kWait));
  EXPECT_NE(daemon.Err().find("<6>остановлен\n"), std::string::npos) << daemon.Err();
  EXPECT_EQ(daemon.Err().find("zrm48d: "), std::string::npos) << "no stamps for the journal";

  // Each write that reached a line is in the history: begun, then ended
  // with the value before and after, under the daemon's user and the
  // client's address; the chains hold.
  HistoryStore history;
  std::string error;
  ASSERT_TRUE(history.Open(dir_.File("history.sqlite"), error)) << error;
  const auto events = history.List({"", "", "plant-write", {}, {}}, error);
  ASSERT_TRUE(events) << error;
  const std::string by_mqtt = " (MQTT 127.0.0.1:" + std::to_string(broker_.Port()) + ")";
  std::vector<std::string> seen;
  for (const HistoryEvent& e : *events) {
    std::string row = e.instrument_number + " " + std::to_string(e.result);
    for (const ParameterChange& c : e.changes) row += " " + c.name + ": " + c.before + " → " + c.after;
    const bool modbus = e.line == second_line_.SlavePath();
    if (e.user.find(modbus ? " (Modbus 127.0.0.1:" : by_mqtt) == std::string::npos) row += " " + e.user;
    seen.push_back(row);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "047-12352 -1", "047-12352 0 Канал 1: Величина I: 150.0000 → 61.5000",
                      "047-12352 -1", "047-12352 0 Канал 1: Величина I: 61.5000 → 62.5000",
                      "047-12346 -1", "047-12346 0 Канал 1: Величина I: 150.0000 → 123.5000",
                      "047-12346 -1", "047-12346 17",  // refused by the checks on the line
                      "047-12345 -1", "047-12345 0 Канал 1: Величина I: 150.0000 → 151.5000"}));
  std::optional<ChainBreak> broken;
  std::size_t checked = 0;
  ASSERT_TRUE(history.Verify(broken, checked, error)) << error;
  EXPECT_FALSE(broken);
}

TEST_F(GatewayDaemonTest, TwoGatewaysMeetInOneBrokerUnderTheirOwnPrefixes) {
  // Two cabinets, each with its line and its prefix, one broker.
  const auto config = [&](const std::string& prefix, const std::string& device,
                          const std::string& addresses) {
    return "[GATEWAY]\nPrefix=" + prefix + "\nPollMs=200\nTimeOutMs=100\n[MQTT]\nPort=" +
           std::to_string(broker_.Port()) + "\n[LINE1]\nDevice=" + device +
           "\nAddresses=" + addresses + "\n[WRITE]\nAllow=1\nParameters=ch1_th1\n";
  };
  for (const char* cabinet : {"c1", "c2"}) std::filesystem::create_directory(dir_.File(cabinet));
  WriteBytes(dir_.File("c1/zrm48d.ini"), config("plant/c1", first_line_->SlavePath(), "1-3"));
  WriteBytes(dir_.File("c2/zrm48d.ini"), config("plant/c2", second_line_.SlavePath(), "5"));
  // c1's working folder holds a file that is no history: no write starts.
  const std::string not_history = "plant notes\n";
  WriteBytes(dir_.File("c1/history.sqlite"), not_history);
  ChildProgram c1({DaemonPath(), "--config", dir_.File("c1/zrm48d.ini")}, dir_.File("c1"));
  ChildProgram c2({DaemonPath(), "--config", dir_.File("c2/zrm48d.ini")}, dir_.File("c2"));
  {
    TopicRecorder early(broker_.ClientConfig());
    ASSERT_TRUE(early.Subscribed(kWait));
    ASSERT_TRUE(early.WaitFor("plant/c1/047-12347/state", "", kWait)) << c1.Err();
    ASSERT_TRUE(early.WaitFor("plant/c2/047-12352/state", "", kWait)) << c2.Err();
  }
  // A subscriber that comes later is handed both cabinets' retained topics.
  TopicRecorder plant(broker_.ClientConfig());
  ASSERT_TRUE(plant.Subscribed(kWait));
  for (const char* topic : {"plant/c1/gateway/running", "plant/c2/gateway/running",
                            "plant/c1/047-12345/availability", "plant/c2/047-12352/availability"}) {
    const auto message = plant.WaitFor(topic, "", kWait);
    ASSERT_TRUE(message) << topic;
    EXPECT_TRUE(message->retained) << topic;
  }
  EXPECT_TRUE(plant.Under("zrm48/").empty()) << "no gateway under the default prefix";
  plant.Publish("plant/c1/047-12345/set/ch1_th1", "100");
  EXPECT_TRUE(plant.WaitFor("plant/c1/047-12345/set/ch1_th1/result",
                            "{\"ok\": false, \"error\": 14, \"message\": \"История изменений не открыта: "
                            "./history.sqlite: файл не является базой истории; запись в прибор не начата",
                            kWait));
  EXPECT_EQ(WriteFrames(*first_line_), 0u);
  EXPECT_EQ(ReadBytes(dir_.File("c1/history.sqlite")), not_history);
  // One cabinet stops; the other goes on.
  c2.Signal(SIGTERM);
  EXPECT_EQ(c2.Wait(kWait), 0);
  EXPECT_TRUE(plant.WaitFor("plant/c2/gateway/running", "false", kWait));
  plant.Clear();
  EXPECT_TRUE(plant.WaitFor("plant/c1/047-12346/state", "", kWait));
  EXPECT_TRUE(plant.On("plant/c1/gateway/running").empty()) << "c1 still running, not re-said";
}

TEST(GatewayScale, SixtyFourLinesOfSixteenInstrumentsEachGetTheirStates) {
  // 1024 instruments of their own serial numbers on 64 lines, each line
  // with its own Modbus listener and unit ids 1..16: every one is read and
  // published. Not a timing test: the bound is generous.
  constexpr int kLines = 64;
  ScratchDir dir;
  MosquittoBroker broker(MosquittoBroker::Mode::kPlain, dir.Path());
  broker.Start();
  std::vector<std::unique_ptr<sim::Simulator>> lines;
  std::set<int> listeners;  // a free port may be handed out twice
  while (listeners.size() < static_cast<std::size_t>(kLines)) listeners.insert(FreePort());
  auto listener = listeners.begin();
  std::string ini = "[GATEWAY]\nPollMs=1000\nTimeOutMs=100\n[MQTT]\nPort=" +
                    std::to_string(broker.Port()) + "\n";
  for (int i = 0; i < kLines; ++i) {
    sim::SimulatorOptions options;
    for (unsigned a = 2; a <= 16; ++a) options.more_addresses.push_back(a);
    options.serial = 20000 + 16 * i;
    options.turnaround = std::chrono::milliseconds(1);
    lines.push_back(std::make_unique<sim::Simulator>(options));
    ASSERT_TRUE(lines.back()->Start());
    ini += "[LINE" + std::to_string(i + 1) + "]\nDevice=" + lines.back()->SlavePath() +
           "\nAddresses=1-16\nListen=127.0.0.1:" + std::to_string(*listener++) + "\n";
  }
  WriteBytes(dir.File("zrm48d.ini"), ini);
  TopicRecorder plant(broker.ClientConfig());
  ASSERT_TRUE(plant.Subscribed(kWait));
  ChildProgram daemon({DaemonPath(), "--config", dir.File("zrm48d.ini")}, dir.Path());
  // States repeat every sweep: what is counted may be let go.
  std::set<std::string> topics;
  const auto states = [&] {
    for (const ReceivedMessage& m : plant.Under("zrm48/"))
      if (m.topic.ends_with("/state")) topics.insert(m.topic);
    plant.Clear();
    return topics.size();
  };
  EXPECT_TRUE(WaitUntil([&] { return states() == 16u * kLines || daemon.Wait(0ms) != -2; },
                        std::chrono::seconds(180)) &&
              states() == 16u * kLines)
      << states() << " of " << 16 * kLines << "\n" << daemon.Err().substr(0, 2000);
}

TEST_F(GatewayDaemonTest, WritesOffSendNothingAndACrashLeavesTheLastWill) {
  // A prefix of two levels: every topic, the last will's too, lives under it.
  DaemonRun run;
  run.prefix = "plant/hall2";
  WriteBytes(dir_.File("zrm48d.ini"), Config(first_line_->SlavePath(), second_line_.SlavePath(),
                                             broker_.Port(), modbus_port_, line2_port_, run));
  TopicRecorder plant(broker_.ClientConfig());
  ASSERT_TRUE(plant.Subscribed(kWait));
  ChildProgram daemon({DaemonPath(), "--config", dir_.File("zrm48d.ini")}, dir_.Path());
  ASSERT_TRUE(plant.WaitFor("plant/hall2/047-12345/availability", "online", kWait))
      << daemon.Err();
  ASSERT_TRUE(plant.WaitFor("plant/hall2/gateway/running", "true", kWait));
  plant.Publish("plant/hall2/047-12345/set/ch1_th1", "100");
  EXPECT_TRUE(plant.WaitFor("plant/hall2/047-12345/set/ch1_th1/result", "Allow=0", kWait));
  modbus_t* modbus = modbus_new_tcp("127.0.0.1", modbus_port_);
  ASSERT_EQ(modbus_connect(modbus), 0);
  modbus_set_slave(modbus, 1);
  const auto value = FloatRegisters(100.0f);
  EXPECT_EQ(modbus_write_registers(modbus, 100, 2, value.data()), -1);
  EXPECT_EQ(errno, EMBXILVAL);
  modbus_close(modbus);
  modbus_free(modbus);
  EXPECT_EQ(WriteFrames(*first_line_), 0u);
  EXPECT_NE(daemon.Err().find("zrm48d: запись отклонена"), std::string::npos) << daemon.Err();
  EXPECT_TRUE(plant.Under("homeassistant/").empty()) << "Discovery=0";
  EXPECT_TRUE(plant.Under("zrm48/").empty()) << "nothing under the default prefix";
  plant.Clear();
  daemon.Signal(SIGKILL);
  EXPECT_TRUE(plant.WaitFor("plant/hall2/gateway/running", "false", 70s)) << "the last will";
  // A subscriber that connects after the crash finds the will and the
  // instrument's description retained.
  TopicRecorder later(broker_.ClientConfig());
  const auto will = later.WaitFor("plant/hall2/gateway/running", "false", kWait);
  ASSERT_TRUE(will);
  EXPECT_TRUE(will->retained);
  const auto info = later.WaitFor("plant/hall2/047-12345/info", "047-12345", kWait);
  ASSERT_TRUE(info);
  EXPECT_TRUE(info->retained);
}

TEST_F(GatewayDaemonTest, AnInstrumentTakenOutOfTheConfigurationLeavesHomeAssistant) {
  const std::string ini = dir_.File("zrm48d.ini");
  const auto write_config = [&](const std::string& line1) {
    WriteBytes(ini, Config(first_line_->SlavePath(), second_line_.SlavePath(), broker_.Port(),
                           modbus_port_, line2_port_, DaemonRun{false, true, line1}));
  };
  TopicRecorder plant(broker_.ClientConfig());
  ASSERT_TRUE(plant.Subscribed(kWait));
  write_config("1-3");
  {
    ChildProgram daemon({DaemonPath(), "--config", ini}, dir_.Path());
    for (const char* id : {"047-12345", "047-12347"})
      ASSERT_TRUE(plant.WaitFor("zrm48/" + std::string(id) + "/availability", "online", kWait))
          << id << daemon.Err();
    // Without writes: the same entities and no number.
    ExpectKeys(plant, kSensorKeys);
    EXPECT_TRUE(plant.Under("homeassistant/number/").empty());
    daemon.Signal(SIGTERM);
    ASSERT_EQ(daemon.Wait(kWait), 0);
  }
  // Address 3 taken out: its instrument's topics are cleared at the next start.
  plant.Clear();
  write_config("1-2");
  ChildProgram daemon({DaemonPath(), "--config", ini}, dir_.Path());
  for (const char* topic : {"homeassistant/sensor/zrm48_047-12347/ch1_value/config",
                            "homeassistant/binary_sensor/zrm48_047-12347/relay2/config",
                            "zrm48/047-12347/info", "zrm48/047-12347/availability"}) {
    const auto cleared = plant.WaitFor(topic, "", kWait);
    ASSERT_TRUE(cleared) << topic << daemon.Err();
    EXPECT_TRUE(cleared->payload.empty()) << topic;
  }
  ASSERT_TRUE(plant.WaitFor("zrm48/047-12345/availability", "online", kWait));
  // A configured instrument's entities are never removed, not even for a
  // moment: Home Assistant would forget what its users set for them.
  for (const char* kept : {"homeassistant/sensor/zrm48_047-12345/", "zrm48/047-12345/",
                                  "homeassistant/sensor/zrm48_047-12352/"})
    for (const ReceivedMessage& m : plant.Under(kept)) EXPECT_FALSE(m.payload.empty()) << m.topic;
  TopicRecorder late(broker_.ClientConfig());
  EXPECT_TRUE(late.WaitFor("homeassistant/sensor/zrm48_047-12345/ch1_value/config",
                           "\"state_class\": \"measurement\"", kWait))
      << "a configured instrument keeps its entities";
  EXPECT_TRUE(late.Under("homeassistant/sensor/zrm48_047-12347/").empty());
  EXPECT_TRUE(late.Under("zrm48/047-12347/").empty());
  EXPECT_NE(daemon.Err().find("прибор убран из настройки, его топики и объекты Home Assistant "
                              "удалены: 047-12347"),
            std::string::npos)
      << daemon.Err();
}

TEST(GatewayProgram, APortWhoseDriverRefusesRs485IsLoggedOnceWithItsReason) {
  ScratchDir dir;
  sim::Simulator line;
  line.Start();
  // A pseudo-terminal's driver has no RS-485 mode: the line stays closed.
  WriteBytes(dir.File("zrm48d.ini"),
             "[LINE1]\nDevice=" + line.SlavePath() + "\nAddresses=1\nRS485=1\n");
  ChildProgram daemon({DaemonPath(), "--config", dir.File("zrm48d.ini")}, dir.Path());
  const std::string refusal = "LINE1: порт не открыт, повтор каждую секунду: " + line.SlavePath() +
                              ": режим RS-485 не включён: драйвер порта его не поддерживает\n";
  ASSERT_TRUE(WaitUntil([&] { return daemon.Err().find(refusal) != std::string::npos; }, kWait))
      << daemon.Err();
  // Retried each second, told once.
  std::this_thread::sleep_for(2500ms);
  daemon.Signal(SIGTERM);
  EXPECT_EQ(daemon.Wait(kWait), 0);
  const std::string log = daemon.Err();
  EXPECT_EQ(log.find(refusal), log.rfind(refusal)) << log;
  EXPECT_TRUE(line.Frames().empty());
}

TEST(GatewayProgram, RefusesBadCommandLinesConfigurationsAndListeners) {
  ScratchDir dir;
  const std::string ini = dir.File("zrm48d.ini");
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), DaemonPath());
    return RunProgram(args, dir.Path(), kWait);
  };
  EXPECT_EQ(run({"--version"}).out, "zrm48d " ZRM_VERSION "\n");
  EXPECT_NE(run({"--help"}).out.find("zrm48d --check"), std::string::npos);
  const ProgramOutput usage = run({"--frobnicate"});
  EXPECT_EQ(usage.status, kGatewayUsageExit);
  EXPECT_TRUE(usage.err.starts_with("zrm48d: неизвестный параметр командной строки: --frobnicate"))
      << usage.err;
  EXPECT_EQ(run({"--config"}).status, kGatewayUsageExit);

  const ProgramOutput missing = run({"--config", dir.File("none.ini")});
  EXPECT_EQ(missing.status, kGatewayConfigExit);
  EXPECT_EQ(missing.err, "zrm48d: Невозможно прочитать файл настройки: " + dir.File("none.ini") +
                             ": нет такого файла или устройства\n");
  // Only a small regular file is read: a device or a FIFO never is.
  ASSERT_EQ(mkfifo(dir.File("fifo.ini").c_str(), 0600), 0);
  for (const auto& [path, why] :
       {std::pair<std::string, std::string>{"/dev/zero", "это устройство, а не файл"},
        {dir.File("fifo.ini"), "это канал (FIFO), а не файл"}}) {
    const ProgramOutput refused = run({"--check", "--config", path});
    EXPECT_EQ(refused.status, kGatewayConfigExit);
    EXPECT_EQ(refused.err,
              "zrm48d: " + path + ": файл настройки не является обычным файлом: " + why + "\n");
  }
  WriteBytes(ini, "");
  EXPECT_EQ(run({"--check", "--config", ini}).err, "zrm48d: " + ini + ": файл пуст\n");
  WriteBytes(ini,
             "[MODBUS]\n[LINE1]\nDevice=/dev/ttyUSB0\nAddresses=1-3\n\n[LINE2]\n"
             "Device=/dev/ttyUSB1\nAddresses=3\n");
  const ProgramOutput twice = run({"--check", "--config", ini});
  EXPECT_EQ(twice.status, kGatewayConfigExit);
  EXPECT_EQ(twice.err,
            "zrm48d: " + ini + ":6: идентификатор Modbus уже занят прибором LINE1, адрес 3 (3)\n");
  EXPECT_TRUE(twice.out.empty());

  // RS-485 is a serial port's mode; a device server sets its own.
  WriteBytes(ini, "[LINE1]\nDevice=tcp://127.0.0.1:4001\nAddresses=1\nRS485=1\n");
  const ProgramOutput network = run({"--config", ini});
  EXPECT_EQ(network.status, kGatewayConfigExit);
  EXPECT_EQ(network.err, "zrm48d: " + ini +
                             ":4: RS485=1 задаётся только для последовательного порта; режим "
                             "RS-485 сетевой линии настраивается на сервере портов\n");

  const int port = FreePort();
  WriteBytes(ini, "[MODBUS]\nListen=127.0.0.1:" + std::to_string(port) +
                      "\n[LINE1]\nDevice=/dev/ttyUSB0\nAddresses=1-3\n");
  const ProgramOutput check = run({"--config=" + ini, "--check"});
  EXPECT_EQ(check.status, 0);
  EXPECT_NE(check.out.find("Modbus TCP: 127.0.0.1:" + std::to_string(port) + "\n"),
            std::string::npos)
      << check.out;
  // The port taken by another: 69, and nothing runs.
  MosquittoBroker holder(MosquittoBroker::Mode::kPlain, dir.Path());
  ASSERT_TRUE(holder.Start());
  WriteBytes(ini, "[MODBUS]\nListen=127.0.0.1:" + std::to_string(holder.Port()) +
                      "\n[LINE1]\nDevice=/dev/ttyUSB0\nAddresses=1\n");
  const ProgramOutput busy = run({"--config", ini});
  EXPECT_EQ(busy.status, kGatewayUnavailableExit) << busy.err;
  EXPECT_NE(busy.err.find("Невозможно открыть порт Modbus TCP"), std::string::npos) << busy.err;
  WriteBytes(ini, "[MQTT]\nCAFile=" + dir.File("ca.pem") +
                      "\n[LINE1]\nDevice=/dev/ttyUSB0\nAddresses=1\n");
  const ProgramOutput tls = run({"--config", ini});
  EXPECT_EQ(tls.status, kGatewayUnavailableExit) << tls.err;
  EXPECT_NE(tls.err.find("Невозможно прочитать файл TLS " + dir.File("ca.pem")), std::string::npos)
      << tls.err;
  // --check reads them as the start would: a folder or garbage is 69.
  std::filesystem::create_directory(dir.File("folder.pem"));
  WriteBytes(dir.File("garbage.pem"), "-----BEGIN CERTIFICATE-----\nnot base64\n");
  for (const auto& [file, why] :
       {std::pair<std::string, std::string>{"folder.pem", "это папка, а не файл"},
        {"garbage.pem", "в файле нет сертификата в формате PEM"}}) {
    WriteBytes(ini, "[MQTT]\nCAFile=" + dir.File(file) +
                        "\n[LINE1]\nDevice=/dev/ttyUSB0\nAddresses=1\n");
    const ProgramOutput checked = run({"--check", "--config", ini});
    EXPECT_EQ(checked.status, kGatewayUnavailableExit) << checked.err;
    EXPECT_EQ(checked.err, "zrm48d: Невозможно прочитать файл TLS " + dir.File(file) + ": " + why +
                               "\n");
  }
}

}  // namespace
}  // namespace zrm::test
