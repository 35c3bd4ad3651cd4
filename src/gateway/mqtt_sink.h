#pragma once
// The MQTT side of the gateway: the instruments' state, availability and
// info on a broker, the gateway's own running and version, optional Home
// Assistant discovery, and the plant's write commands. libmosquitto runs its
// own network thread (connecting, reconnecting with back-off); a publisher
// thread of ours takes the latest snapshot of each instrument, so a line
// thread only replaces a slot and a broker that is slow or gone never slows
// a line.

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bus/bus_events.h"
#include "gateway/bus_access.h"
#include "gateway/gateway_config.h"
#include "gateway/gateway_log.h"
#include "gateway/ha_discovery.h"

struct mosquitto;
struct mosquitto_message;

namespace zrm {

class MqttSink : public BusEvents {
 public:
  // `config` must hold an [MQTT] section. `bus` and `log` must outlive the
  // sink. The gateway's figures go out every `stats_period`.
  MqttSink(const GatewayConfig& config, BusAccess& bus, GatewayLog& log,
           std::chrono::milliseconds stats_period = std::chrono::seconds(10));
  ~MqttSink() override;  // stops
  MqttSink(const MqttSink&) = delete;
  MqttSink& operator=(const MqttSink&) = delete;

  // Makes the client with its last will, credentials and TLS files. False
  // with `error` when a TLS file cannot be read or is refused.
  bool Prepare(std::string& error);
  // Connects in the background (a broker not there yet is tried again) and
  // starts publishing.
  void Start();
  // Publishes running=false, waits briefly for the broker to take it, and
  // disconnects.
  void Stop();

  void OnPolled(const BusSnapshot& snapshot) override;
  void OnAvailability(const BusSnapshot& snapshot) override;
  void OnParameters(const BusSnapshot& snapshot) override;

 private:
  using Key = std::pair<std::size_t, std::uint32_t>;  // line, address
  struct Pending {
    std::optional<BusSnapshot> availability;
    std::optional<BusSnapshot> state;
    bool parameters = false;  // a write ended: the values last read again
  };
  struct Known {  // what is retained about an identified instrument
    std::string id;
    std::string availability;  // "online", "offline" or empty
    std::string info;
    std::vector<MqttMessage> discovery;  // with Discovery=1
  };

  static void OnConnect(mosquitto*, void* self, int rc);
  static void OnDisconnect(mosquitto*, void* self, int rc);
  static void OnPublish(mosquitto*, void* self, int mid);
  static void OnSubscribe(mosquitto*, void* self, int mid, int count, const int* granted);
  static void OnMessage(mosquitto*, void* self, const mosquitto_message* message);

  // Connects and starts the network thread; false when stopped first.
  bool ConnectFirst();
  void PublishLoop();
  void PublishRetainedState();
  // Home Assistant's topics and the retained ones of every instrument whose
  // retained info names a place no longer configured: read from the broker
  // for a short, bounded time, then cleared.
  void RemoveUnconfigured();
  void ClearInstrument(const std::string& id);
  // The retained info messages the broker holds, gathered by RemoveUnconfigured.
  bool KeepRetainedInfo(const mosquitto_message& message);
  // P/I/parameters again: a write refused or failed leaves the plant's
  // value where the instrument's is.
  void RepublishParameters(const Key& key);
  void PublishAvailability(const BusSnapshot& snapshot);
  // P/I/parameters of a known instrument, retained.
  void PublishParameters(const Key& key);
  void Publish(const std::string& topic, const std::string& payload, bool retain, int qos = 0,
               int* mid = nullptr);
  void HandleCommand(const std::string& topic, const std::string& payload);
  void PublishResult(const std::string& topic, const BusWriteOutcome& outcome);

  GatewayConfig config_;
  MqttConfig mqtt_;
  std::chrono::milliseconds stats_period_;
  BusAccess& bus_;
  GatewayLog& log_;
  mosquitto* client_ = nullptr;
  std::thread publisher_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::map<Key, Pending> pending_;
  // The instruments answering with each id, for the commands: two with one
  // serial number are not told apart, and neither is written.
  std::map<std::string, std::set<Key>> by_id_;
  bool republish_ = false;  // connected anew: the retained state again
  bool stop_ = false;
  bool running_ = false;
  int stop_mid_ = -1;  // the message id of running=false
  bool stop_published_ = false;
  bool lost_logged_ = false;
  // The look at what was announced before, at the first connection.
  struct Removal {
    int mid = -1;             // of the subscription to the info topics
    bool collecting = false;  // retained info messages are kept
    bool subscribed = false;  // the broker acknowledged: its retained ones follow
    std::chrono::steady_clock::time_point last{};  // the last one kept
    std::vector<std::pair<std::string, std::string>> found;  // topic, payload
  } removal_;
  bool removal_due_ = true;  // the publisher thread's own

  std::map<Key, Known> known_;  // the publisher thread's own
};

}  // namespace zrm
