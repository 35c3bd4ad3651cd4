// The MQTT sink against Debian's mosquitto started for each test: the
// retained gateway and instrument topics, states of answered polls only,
// password and TLS, a broker late or restarted, and the write commands.

#include "gateway/mqtt_sink.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "gateway/fake_bus.h"
#include "support/mosquitto_broker.h"
#include "gateway/topic_recorder.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

using namespace std::chrono_literals;
constexpr auto kWait = 10s;

GatewayConfig SinkConfig(const MqttConfig& mqtt) {
  GatewayConfig c;
  c.mqtt = mqtt;
  c.lines = {{{"/dev/ttyUSB0", 9600, {1, 2}}, 0, "LINE1"}};
  return c;
}

class MqttSinkTest : public ::testing::Test {
 protected:
  ~MqttSinkTest() override { std::fclose(log_file_); }

  std::string LogText() {
    std::fflush(log_file_);
    return ReadBytes(dir_.File("log"));
  }

  ScratchDir dir_;
  std::FILE* log_file_ = std::fopen(dir_.File("log").c_str(), "w");
  GatewayLog log_{log_file_, true};
  FakeBus bus_;
};

TEST_F(MqttSinkTest, PublishesTheRetainedStateAndTheStatesOfAnsweredPolls) {
  MosquittoBroker broker(MosquittoBroker::Mode::kPlain, dir_.Path());
  ASSERT_TRUE(broker.Start());
  GatewayConfig config = SinkConfig(broker.ClientConfig());
  config.mqtt->discovery = true;
  TopicRecorder plant(*config.mqtt);
  ASSERT_TRUE(plant.Subscribed(kWait));
  {
    bus_.SetStats({{120, 3, 590, 2, 1, 0}});
    MqttSink sink(config, bus_, log_, 200ms);
    std::string error;
    ASSERT_TRUE(sink.Prepare(error)) << error;
    sink.Start();
    ASSERT_TRUE(plant.WaitFor("zrm48/gateway/running", "true", kWait));
    EXPECT_TRUE(plant.WaitFor("zrm48/gateway/version", ZRM_VERSION, kWait));
    // The gateway's figures, retained, kept current.
    const auto stats = plant.WaitFor(
        "zrm48/gateway/stats",
        "{\"lines\": [{\"line\": \"LINE1\", \"device\": \"/dev/ttyUSB0\", \"polls\": 120, "
        "\"failed\": 3, \"sweep_ms\": 590, \"writes\": 2, \"refused\": 1, \"queued\": 0}]}",
        kWait);
    ASSERT_TRUE(stats);
    bus_.SetStats({{121, 3, 600, 2, 1, 4}});
    EXPECT_TRUE(plant.WaitFor("zrm48/gateway/stats", "\"polls\": 121", kWait));
    TopicRecorder later(*config.mqtt);  // connects after the fact: the figures are retained
    ASSERT_TRUE(later.Subscribed(kWait));
    const auto retained = later.WaitFor("zrm48/gateway/stats", "\"queued\": 4", kWait);
    ASSERT_TRUE(retained);
    EXPECT_TRUE(retained->retained);

    BusSnapshot s = AnsweredSnapshot(0, 1);
    bus_.SetParameter(0, 1, BusParameter::kCh1Th1, 250.5f);
    sink.OnAvailability(s);
    sink.OnPolled(s);
    EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/availability", "online", kWait));
    // The writable parameters as last read, again after a write.
    EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/parameters",
                              "{\"ch1_th1\": 250.5, \"ch1_his1\": null, ", kWait));
    bus_.SetParameter(0, 1, BusParameter::kCh1Th1, 260.0f);
    sink.OnParameters(s);
    EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/parameters", "{\"ch1_th1\": 260, ", kWait));
    const auto info = plant.WaitFor("zrm48/047-12345/info", "\"type\": 4813", kWait);
    ASSERT_TRUE(info);
    EXPECT_NE(info->payload.find("\"line\": \"/dev/ttyUSB0\""), std::string::npos);
    const auto state = plant.WaitFor("zrm48/047-12345/state", "491.0974", kWait);
    ASSERT_TRUE(state);
    EXPECT_FALSE(state->retained);
    EXPECT_TRUE(plant.WaitFor("homeassistant/sensor/zrm48_047-12345/ch2_value/config",
                              "\"device_class\": \"temperature\"", kWait));
    // Its channel 2 set to a current input since: announced anew, only then.
    plant.Clear();
    sink.OnAvailability(s);
    ASSERT_TRUE(plant.WaitFor("zrm48/047-12345/parameters", "", kWait));
    s.identity.channels[1].dat = 19;
    sink.OnAvailability(s);
    EXPECT_TRUE(plant.WaitFor("homeassistant/sensor/zrm48_047-12345/ch2_value/config",
                              "\"state_class\": \"measurement\", \"suggested_display_precision\"",
                              kWait));
    EXPECT_EQ(plant.On("homeassistant/sensor/zrm48_047-12345/ch2_value/config").size(), 1u);

    // A failed poll publishes nothing; offline is said once.
    plant.Clear();
    s.last_result = result::kNoAnswer;
    s.channel[0].value = 1.5f;
    sink.OnPolled(s);
    s.availability = BusAvailability::kOffline;
    sink.OnAvailability(s);
    sink.OnAvailability(s);
    ASSERT_TRUE(plant.WaitFor("zrm48/047-12345/availability", "offline", kWait));
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(plant.On("zrm48/047-12345/state").empty());
    EXPECT_EQ(plant.On("zrm48/047-12345/availability").size(), 1u);

    // A late subscriber finds the retained topics.
    TopicRecorder late(*config.mqtt);
    const auto availability = late.WaitFor("zrm48/047-12345/availability", "offline", kWait);
    ASSERT_TRUE(availability);
    EXPECT_TRUE(availability->retained);
    EXPECT_TRUE(late.WaitFor("zrm48/047-12345/info", "047-12345", kWait));
    EXPECT_TRUE(late.On("zrm48/047-12345/state").empty()) << "Retain=0: states are not kept";
    plant.Clear();
  }
  const auto stopped = plant.WaitFor("zrm48/gateway/running", "false", kWait);
  ASSERT_TRUE(stopped);
}

TEST_F(MqttSinkTest, ConnectsWithAPasswordAndWithTls) {
  for (const auto mode : {MosquittoBroker::Mode::kPassword, MosquittoBroker::Mode::kTls,
                          MosquittoBroker::Mode::kMutualTls}) {
    ScratchDir dir;
    MosquittoBroker broker(mode, dir.Path());
    ASSERT_TRUE(broker.Start());
    GatewayConfig config = SinkConfig(broker.ClientConfig());
    config.mqtt->retain = true;
    TopicRecorder plant(*config.mqtt);
    ASSERT_TRUE(plant.Subscribed(kWait));
    MqttSink sink(config, bus_, log_);
    std::string error;
    ASSERT_TRUE(sink.Prepare(error)) << error;
    sink.Start();
    sink.OnAvailability(AnsweredSnapshot(0, 2));
    sink.OnPolled(AnsweredSnapshot(0, 2));
    EXPECT_TRUE(plant.WaitFor("zrm48/gateway/running", "true", kWait));
    EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/availability", "online", kWait));
    // Retain=1: a late subscriber finds the state too.
    ASSERT_TRUE(plant.WaitFor("zrm48/047-12345/state", "491.0974", kWait));
    TopicRecorder late(*config.mqtt);
    const auto state = late.WaitFor("zrm48/047-12345/state", "491.0974", kWait);
    ASSERT_TRUE(state);
    EXPECT_TRUE(state->retained);
  }
  // A wrong password is refused by the broker and said in the log.
  MosquittoBroker broker(MosquittoBroker::Mode::kPassword, dir_.Path());
  ASSERT_TRUE(broker.Start());
  GatewayConfig config = SinkConfig(broker.ClientConfig());
  config.mqtt->password = "wrong";
  MqttSink sink(config, bus_, log_);
  std::string error;
  ASSERT_TRUE(sink.Prepare(error));
  sink.Start();
  EXPECT_TRUE(
      WaitUntil([&] { return LogText().find("брокер отказал") != std::string::npos; }, kWait))
      << LogText();
}

TEST_F(MqttSinkTest, UnreadableTlsFilesStopTheStart) {
  MqttConfig mqtt;
  mqtt.ca_file = dir_.File("missing.pem");
  MqttSink sink(SinkConfig(mqtt), bus_, log_);
  std::string error;
  EXPECT_FALSE(sink.Prepare(error));
  EXPECT_EQ(error,
            "Невозможно прочитать файл TLS " + mqtt.ca_file + ": нет такого файла или устройства");
}

TEST_F(MqttSinkTest, ABrokerLateOrRestartedGetsTheRetainedStateAgain) {
  MosquittoBroker broker(MosquittoBroker::Mode::kPlain, dir_.Path());
  const GatewayConfig config = SinkConfig(broker.ClientConfig());
  MqttSink sink(config, bus_, log_);
  std::string error;
  ASSERT_TRUE(sink.Prepare(error));
  sink.Start();
  // The instrument answers while no broker is there yet.
  sink.OnAvailability(AnsweredSnapshot(0, 1));
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(broker.Start());
  for (int round = 0; round < 2; ++round) {
    TopicRecorder plant(*config.mqtt);
    EXPECT_TRUE(plant.WaitFor("zrm48/gateway/running", "true", kWait)) << round;
    EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/availability", "online", kWait)) << round;
    EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/info", "047-12345", kWait)) << round;
    // The broker crashes and comes back without its retained messages.
    broker.Kill();
    ASSERT_TRUE(broker.Start());
  }
}

TEST_F(MqttSinkTest, CommandsWriteOnlyAllowedParametersWithNumbers) {
  MosquittoBroker broker(MosquittoBroker::Mode::kPlain, dir_.Path());
  ASSERT_TRUE(broker.Start());
  GatewayConfig config = SinkConfig(broker.ClientConfig());
  config.write = {true, {BusParameter::kCh1Th1, BusParameter::kCh2His1}};
  TopicRecorder plant(*config.mqtt);
  ASSERT_TRUE(plant.Subscribed(kWait));
  const std::string set = "zrm48/047-12345/set/";
  // A command left retained would write again at every reconnection: the
  // sink's subscription finds it retained and never obeys it.
  plant.Publish(set + "ch1_th1", "7", true);
  MqttSink sink(config, bus_, log_);
  std::string error;
  ASSERT_TRUE(sink.Prepare(error));
  sink.Start();
  sink.OnAvailability(AnsweredSnapshot(0, 2));
  ASSERT_TRUE(plant.WaitFor("zrm48/047-12345/info", "047-12345", kWait));
  ASSERT_TRUE(plant.WaitFor("zrm48/gateway/running", "true", kWait));
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(bus_.Writes().empty());
  plant.Publish(set + "ch1_th1", "", true);  // the retained command removed
  bus_.AnswerWritesWith(BusWriteOutcome{});

  plant.Publish(set + "ch2_his1", "1.25");
  EXPECT_TRUE(plant.WaitFor(set + "ch2_his1/result", "{\"ok\": true}", kWait));
  ASSERT_EQ(bus_.Writes().size(), 1u);
  EXPECT_EQ(bus_.Writes()[0].address, 2u);
  EXPECT_EQ(bus_.Writes()[0].parameter, BusParameter::kCh2His1);
  EXPECT_EQ(bus_.Writes()[0].value, 1.25f);

  struct Refused {
    std::string parameter, payload, result;
  };
  const Refused refused[] = {
      {"ch1_th1", "25,5", "\"error\": 23, \"message\": \"значение не является числом: 25,5\""},
      {"ch1_th1", "", "\"error\": 23"},
      {"ch1_th1", "nan", "\"error\": 23"},
      {"ch1_his1", "1", "\"error\": 17, \"message\": \"запись параметра не разрешена: ch1_his1\""},
      {"diap_max", "1", "\"error\": 22"},
      // What the network sends is never echoed whole nor with its control characters.
      {"ch1_th1", "1\n2", "\"message\": \"значение не является числом: 1\\\\x0A2\""},
      {"ch1_th1", std::string(100000, '7'), "\"message\": \"значение длиннее 64 байт\"}"},
      {"ch1_th1/x", "1", "\"error\": 22, \"message\": \"команда должна иметь вид"},
  };
  for (const Refused& r : refused) {
    plant.Publish(set + r.parameter, r.payload);
    EXPECT_TRUE(plant.WaitFor(set + r.parameter + "/result", r.result, kWait)) << r.payload;
  }
  plant.Publish("zrm48/047-99999/set/ch1_th1", "1");
  EXPECT_TRUE(plant.WaitFor("zrm48/047-99999/set/ch1_th1/result", "неизвестный прибор", kWait));
  // A second instrument with the same serial number: which is meant cannot
  // be told, so neither is written; once it answers with another, writes go on.
  BusSnapshot twin = AnsweredSnapshot(0, 1);
  sink.OnAvailability(twin);
  ASSERT_TRUE(plant.WaitFor("zrm48/047-12345/info", "\"address\": 1", kWait));
  plant.Clear();
  plant.Publish(set + "ch1_th1", "5");
  EXPECT_TRUE(
      plant.WaitFor(set + "ch1_th1/result", "два прибора с одним заводским номером", kWait));
  twin.identity.serial_number = 12399;
  sink.OnAvailability(twin);
  ASSERT_TRUE(plant.WaitFor("zrm48/047-12399/info", "047-12399", kWait));
  plant.Publish(set + "ch2_his1", "1.5");
  EXPECT_TRUE(plant.WaitFor(set + "ch2_his1/result", "{\"ok\": true}", kWait));
  EXPECT_EQ(bus_.Writes().size(), 2u);
  EXPECT_EQ(bus_.Writes()[1].address, 2u);
  // The instrument's checks refuse: their message comes back, and the
  // values last read go out again for a dashboard to show them back.
  bus_.AnswerWritesWith(BusWriteOutcome{result::kStoppedToCorrect, "Уставка вне диапазона"});
  bus_.SetParameter(0, 2, BusParameter::kCh1Th1, 150.0f);
  plant.Clear();
  plant.Publish(set + "ch1_th1", "99999");
  EXPECT_TRUE(plant.WaitFor(set + "ch1_th1/result",
                            "\"error\": 17, \"message\": \"Уставка вне диапазона\"", kWait));
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/parameters", "{\"ch1_th1\": 150, ", kWait));
  EXPECT_EQ(bus_.Writes().size(), 3u);
}

TEST_F(MqttSinkTest, WritesOffRefuseEveryCommand) {
  MosquittoBroker broker(MosquittoBroker::Mode::kPlain, dir_.Path());
  ASSERT_TRUE(broker.Start());
  GatewayConfig config = SinkConfig(broker.ClientConfig());
  config.write = {false, {BusParameter::kCh1Th1}};
  TopicRecorder plant(*config.mqtt);
  ASSERT_TRUE(plant.Subscribed(kWait));
  MqttSink sink(config, bus_, log_);
  std::string error;
  ASSERT_TRUE(sink.Prepare(error));
  sink.Start();
  sink.OnAvailability(AnsweredSnapshot(0, 1));
  ASSERT_TRUE(plant.WaitFor("zrm48/047-12345/info", "047-12345", kWait));
  ASSERT_TRUE(plant.WaitFor("zrm48/gateway/running", "true", kWait));
  plant.Publish("zrm48/047-12345/set/ch1_th1", "10");
  EXPECT_TRUE(plant.WaitFor("zrm48/047-12345/set/ch1_th1/result", "Allow=0", kWait));
  EXPECT_TRUE(bus_.Writes().empty());
  EXPECT_NE(LogText().find("запись отклонена"), std::string::npos);
}

}  // namespace
}  // namespace zrm::test
