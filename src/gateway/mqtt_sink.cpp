#include "gateway/mqtt_sink.h"

#include <mosquitto.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "gateway/bus_parameter_names.h"
#include "bus/bus_parameter.h"
#include "gateway/gateway_texts.h"
#include "gateway/ha_removal.h"
#include "gateway/network_text.h"
#include "gateway/stats_json.h"
#include "gateway/tls_files.h"
#include "gateway/mqtt_command.h"
#include "gateway/state_json.h"
#include "platform/system_reason.h"

namespace zrm {
namespace {

namespace t = gateway_texts;

constexpr int kKeepAliveSeconds = 30;
// Back-off of the reconnection: 1 s doubling up to 30 s.
constexpr unsigned kReconnectFirstSeconds = 1;
constexpr unsigned kReconnectMostSeconds = 30;
// A topic in the log is shown up to this many bytes.
constexpr std::size_t kMostShownTopicBytes = 160;
// How long a stop waits for the broker to take running=false.
constexpr auto kStopWait = std::chrono::seconds(2);
// The look at the retained info topics at the first connection: the broker
// sends them right after acknowledging the subscription; they are taken as
// all there once none came for kRemovalQuiet, and never waited for longer
// than kRemovalMostWait. At most kMostRetainedInfos are kept, each of at
// most kMostInfoBytes (an info message is about 150).
constexpr auto kRemovalQuiet = std::chrono::milliseconds(300);
constexpr auto kRemovalMostWait = std::chrono::seconds(3);
constexpr std::size_t kMostRetainedInfos = 4096;
constexpr int kMostInfoBytes = 1024;

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

MqttSink::MqttSink(const GatewayConfig& config, BusAccess& bus, GatewayLog& log,
                   std::chrono::milliseconds stats_period)
    : config_(config), mqtt_(*config.mqtt), stats_period_(stats_period), bus_(bus), log_(log) {
  mosquitto_lib_init();
}

MqttSink::~MqttSink() {
  Stop();
  if (client_ != nullptr) mosquitto_destroy(client_);
  mosquitto_lib_cleanup();
}

bool MqttSink::Prepare(std::string& error) {
  if (!CheckTlsFiles(mqtt_, error)) return false;
  // No client id of ours: the broker gives each gateway its own.
  client_ = mosquitto_new(nullptr, true, this);
  if (client_ == nullptr) {
    error = t::kMqttTlsRefused + SystemReason(errno);
    return false;
  }
  const std::string running = config_.prefix + "/gateway/running";
  int rc = mosquitto_will_set(client_, running.c_str(), 5, "false", 1, true);
  if (rc == MOSQ_ERR_SUCCESS && !mqtt_.user.empty())
    rc = mosquitto_username_pw_set(client_, mqtt_.user.c_str(), OrNull(mqtt_.password));
  if (rc == MOSQ_ERR_SUCCESS && !mqtt_.ca_file.empty())
    rc = mosquitto_tls_set(client_, mqtt_.ca_file.c_str(), nullptr, OrNull(mqtt_.cert_file),
                           OrNull(mqtt_.key_file), nullptr);
  if (rc != MOSQ_ERR_SUCCESS) {
    error = t::kMqttTlsRefused + std::string(mosquitto_strerror(rc));
    return false;
  }
  mosquitto_reconnect_delay_set(client_, kReconnectFirstSeconds, kReconnectMostSeconds, true);
  mosquitto_connect_callback_set(client_, &MqttSink::OnConnect);
  mosquitto_disconnect_callback_set(client_, &MqttSink::OnDisconnect);
  mosquitto_publish_callback_set(client_, &MqttSink::OnPublish);
  mosquitto_subscribe_callback_set(client_, &MqttSink::OnSubscribe);
  mosquitto_message_callback_set(client_, &MqttSink::OnMessage);
  return true;
}

void MqttSink::Start() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = false;
    running_ = true;
  }
  publisher_ = std::thread([this] { PublishLoop(); });
}

void MqttSink::Stop() {
  {
    const std::lock_guard lock(mutex_);
    if (!running_) return;
    running_ = false;
    stop_ = true;
  }
  wake_.notify_all();
  publisher_.join();
  int mid = -1;
  Publish(config_.prefix + "/gateway/running", "false", true, 1, &mid);
  {
    std::unique_lock lock(mutex_);
    stop_mid_ = mid;
    wake_.wait_for(lock, kStopWait, [&] { return stop_published_ || mid < 0; });
  }
  mosquitto_disconnect(client_);
  mosquitto_loop_stop(client_, false);
}

void MqttSink::OnPolled(const BusSnapshot& snapshot) {
  if (snapshot.last_result != result::kOk || !snapshot.has_values) return;  // no value to tell
  {
    const std::lock_guard lock(mutex_);
    pending_[{snapshot.line, snapshot.address}].state = snapshot;
  }
  wake_.notify_one();
}

void MqttSink::OnParameters(const BusSnapshot& snapshot) {
  RepublishParameters({snapshot.line, snapshot.address});
}

void MqttSink::OnAvailability(const BusSnapshot& snapshot) {
  {
    const std::lock_guard lock(mutex_);
    pending_[{snapshot.line, snapshot.address}].availability = snapshot;
  }
  wake_.notify_one();
}

void MqttSink::OnConnect(mosquitto*, void* self, int rc) {
  auto* sink = static_cast<MqttSink*>(self);
  if (rc != 0) {
    sink->log_.Warning(t::kMqttRefused + std::string(mosquitto_connack_string(rc)));
    return;
  }
  sink->log_.Info(t::kMqttConnected + sink->mqtt_.host + ":" + std::to_string(sink->mqtt_.port));
  {
    const std::lock_guard lock(sink->mutex_);
    sink->republish_ = true;
    sink->lost_logged_ = false;
  }
  sink->wake_.notify_one();
}

void MqttSink::OnDisconnect(mosquitto*, void* self, int rc) {
  auto* sink = static_cast<MqttSink*>(self);
  if (rc == 0) return;  // our own disconnect
  bool log = false;
  {
    const std::lock_guard lock(sink->mutex_);
    log = !sink->lost_logged_;
    sink->lost_logged_ = true;
  }
  if (log) sink->log_.Warning(t::kMqttLost + std::string(mosquitto_strerror(rc)));
}

void MqttSink::OnPublish(mosquitto*, void* self, int mid) {
  auto* sink = static_cast<MqttSink*>(self);
  {
    const std::lock_guard lock(sink->mutex_);
    if (mid != sink->stop_mid_) return;
    sink->stop_published_ = true;
  }
  sink->wake_.notify_all();
}

void MqttSink::OnSubscribe(mosquitto*, void* self, int mid, int, const int*) {
  auto* sink = static_cast<MqttSink*>(self);
  {
    const std::lock_guard lock(sink->mutex_);
    if (mid != sink->removal_.mid) return;
    sink->removal_.subscribed = true;
    sink->removal_.last = std::chrono::steady_clock::now();
  }
  sink->wake_.notify_all();
}

void MqttSink::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
  auto* sink = static_cast<MqttSink*>(self);
  // A retained command would write again at every reconnection: never obeyed.
  if (message->retain) {
    if (sink->KeepRetainedInfo(*message)) sink->wake_.notify_all();
    return;
  }
  const std::string payload(static_cast<const char*>(message->payload),
                            static_cast<std::size_t>(message->payloadlen));
  sink->HandleCommand(message->topic, payload);
}

bool MqttSink::KeepRetainedInfo(const mosquitto_message& message) {
  const std::lock_guard lock(mutex_);
  if (!removal_.collecting || removal_.found.size() >= kMostRetainedInfos ||
      message.payloadlen > kMostInfoBytes)
    return false;
  removal_.found.emplace_back(
      message.topic, std::string(static_cast<const char*>(message.payload),
                                 static_cast<std::size_t>(message.payloadlen)));
  removal_.last = std::chrono::steady_clock::now();
  return true;
}

bool MqttSink::ConnectFirst() {
  // libmosquitto's network thread reconnects a connection it once had; a
  // first attempt that fails at once (the broker not there yet) is ours to
  // repeat, with the same back-off.
  unsigned delay = kReconnectFirstSeconds;
  bool logged = false;
  while (true) {
    const int rc =
        mosquitto_connect_async(client_, mqtt_.host.c_str(), mqtt_.port, kKeepAliveSeconds);
    if (rc == MOSQ_ERR_SUCCESS) return mosquitto_loop_start(client_) == MOSQ_ERR_SUCCESS;
    if (!std::exchange(logged, true))
      log_.Warning(t::kMqttLost + (rc == MOSQ_ERR_ERRNO ? SystemReason(errno)
                                                        : std::string(mosquitto_strerror(rc))));
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, std::chrono::seconds(delay), [&] { return stop_; })) return false;
    delay = std::min(delay * 2, kReconnectMostSeconds);
  }
}

void MqttSink::PublishLoop() {
  if (!ConnectFirst()) return;
  std::unique_lock lock(mutex_);
  auto stats_due = std::chrono::steady_clock::now();
  while (true) {
    wake_.wait_until(lock, stats_due, [&] { return stop_ || republish_ || !pending_.empty(); });
    if (stop_) return;
    if (std::chrono::steady_clock::now() >= stats_due) {
      stats_due += stats_period_;
      lock.unlock();
      Publish(config_.prefix + "/gateway/stats", StatsJson(config_, bus_.LineStats()), true);
      lock.lock();
    }
    const bool republish = std::exchange(republish_, false);
    std::map<Key, Pending> pending;
    pending.swap(pending_);
    lock.unlock();
    if (republish && mqtt_.discovery && std::exchange(removal_due_, false)) RemoveUnconfigured();
    if (republish) PublishRetainedState();
    for (auto& [key, p] : pending) {
      if (p.availability) PublishAvailability(*p.availability);
      if (p.parameters) PublishParameters(key);
      if (p.state && p.state->identity.known) {
        const auto it = known_.find(key);
        if (it != known_.end())
          Publish(config_.prefix + "/" + it->second.id + "/state", StateJson(*p.state),
                  mqtt_.retain);
      }
    }
    lock.lock();
  }
}

void MqttSink::PublishRetainedState() {
  const std::string& p = config_.prefix;
  // Subscribed before running=true: who sees the gateway running can command it.
  // "#" so that a command with a level too many is answered, not lost.
  mosquitto_subscribe(client_, nullptr, (p + "/+/set/#").c_str(), 0);
  Publish(p + "/gateway/running", "true", true);
  Publish(p + "/gateway/version", ZRM_VERSION, true);
  Publish(p + "/gateway/stats", StatsJson(config_, bus_.LineStats()), true);
  if (mqtt_.discovery) {
    const MqttMessage gateway = GatewayDiscoveryMessage(p);
    Publish(gateway.topic, gateway.payload, true);
  }
  for (const auto& [key, known] : known_) {
    Publish(p + "/" + known.id + "/info", known.info, true);
    for (const MqttMessage& m : known.discovery) Publish(m.topic, m.payload, true);
    if (!known.availability.empty())
      Publish(p + "/" + known.id + "/availability", known.availability, true);
  }
}

void MqttSink::RemoveUnconfigured() {
  const std::string infos = config_.prefix + "/+/info";
  std::vector<std::pair<std::string, std::string>> found;
  {
    std::unique_lock lock(mutex_);
    removal_ = {};
    removal_.collecting = true;
    // Under the lock: the acknowledgement cannot be taken before its id is known.
    if (mosquitto_subscribe(client_, &removal_.mid, infos.c_str(), 0) != MOSQ_ERR_SUCCESS)
      removal_.mid = -1;
    const auto give_up = std::chrono::steady_clock::now() + kRemovalMostWait;
    while (!stop_ && removal_.mid >= 0) {
      const auto until =
          removal_.subscribed ? std::min(removal_.last + kRemovalQuiet, give_up) : give_up;
      if (std::chrono::steady_clock::now() >= until) break;
      wake_.wait_until(lock, until);
    }
    removal_.collecting = false;
    found.swap(removal_.found);
  }
  mosquitto_unsubscribe(client_, nullptr, infos.c_str());
  std::set<std::string> current;
  for (const auto& [key, known] : known_) current.insert(known.id);
  for (const auto& [topic, payload] : found) {
    const std::optional<std::string> id = UnconfiguredInstrument(config_, topic, payload);
    if (id && !current.contains(*id)) ClearInstrument(*id);
  }
}

void MqttSink::ClearInstrument(const std::string& id) {
  // An empty retained message removes the retained one, and Home Assistant
  // removes the entity whose config it was.
  for (const std::string& topic : DiscoveryTopics(config_.prefix, id)) Publish(topic, "", true);
  for (const char* topic : {"/info", "/availability", "/parameters", "/state"})
    Publish(config_.prefix + "/" + id + topic, "", true);
  log_.Info(t::kInstrumentRemoved + id);
}

void MqttSink::PublishAvailability(const BusSnapshot& s) {
  const Key key{s.line, s.address};
  Known& known = known_[key];
  const std::string& p = config_.prefix;
  if (s.identity.known && InstrumentId(s.identity) != known.id) {
    // Another instrument now answers at this address: the old one is gone.
    if (!known.id.empty()) Publish(p + "/" + known.id + "/availability", "offline", true);
    const std::string old_id = std::exchange(known.id, InstrumentId(s.identity));
    known.info = InfoJson(s, config_.lines[s.line].bus.device);
    bool twice = false;
    {
      const std::lock_guard lock(mutex_);
      by_id_[old_id].erase(key);
      std::set<Key>& keys = by_id_[known.id];
      keys.insert(key);
      twice = keys.size() > 1;
    }
    if (twice)
      log_.Warning(t::kSerialTwice + known.id + t::kOnLine + config_.lines[s.line].bus.device +
                   t::kAtAddress + std::to_string(s.address));
    Publish(p + "/" + known.id + "/info", known.info, true);
  }
  // Announced anew when what it says changed: another instrument, or a
  // channel's sensor type or decimal point set otherwise since.
  if (mqtt_.discovery && s.identity.known) {
    std::vector<MqttMessage> discovery = DiscoveryMessages(config_, s);
    if (discovery != known.discovery) {
      known.discovery = std::move(discovery);
      for (const MqttMessage& m : known.discovery) Publish(m.topic, m.payload, true);
    }
  }
  if (known.id.empty() || s.availability == BusAvailability::kUnknown) return;
  // The identity read anew reads the writable parameters with it.
  PublishParameters(key);
  const std::string availability =
      s.availability == BusAvailability::kOnline ? "online" : "offline";
  if (availability == known.availability) return;
  known.availability = availability;
  Publish(p + "/" + known.id + "/availability", availability, true);
}

void MqttSink::PublishParameters(const Key& key) {
  const auto known = known_.find(key);
  if (known == known_.end() || known->second.id.empty()) return;
  std::array<std::optional<float>, 8> values;
  for (std::size_t i = 0; i < kBusParameters.size(); ++i)
    values[i] = bus_.ParameterValue(key.first, key.second, kBusParameters[i]);
  Publish(config_.prefix + "/" + known->second.id + "/parameters", ParametersJson(values), true);
}

void MqttSink::Publish(const std::string& topic, const std::string& payload, bool retain, int qos,
                       int* mid) {
  // Without a connection the message is dropped: what is retained is
  // published again once connected, and a state soon follows anew.
  const int rc = mosquitto_publish(client_, mid, topic.c_str(), static_cast<int>(payload.size()),
                                   payload.data(), qos, retain);
  if (rc != MOSQ_ERR_SUCCESS && mid != nullptr) *mid = -1;
}

void MqttSink::HandleCommand(const std::string& topic, const std::string& payload) {
  const std::optional<SetTopic> set = ParseSetTopic(config_.prefix, topic);
  if (!set) return;
  const std::string result_topic = topic + "/result";
  if (set->malformed) {
    const BusWriteOutcome refusal{result::kParameterNotFound, t::kNotACommandTopic};
    log_.Warning(t::kWriteRefused + ShownNetworkText(topic, kMostShownTopicBytes) + ": " +
                 refusal.message);
    PublishResult(result_topic, refusal);
    return;
  }
  std::optional<Key> key;
  bool twice = false;
  {
    const std::lock_guard lock(mutex_);
    if (const auto it = by_id_.find(set->id); it != by_id_.end() && !it->second.empty()) {
      key = *it->second.begin();
      twice = it->second.size() > 1;
    }
  }
  const std::optional<BusParameter> parameter = BusParameterByName(set->parameter);
  float value = 0;
  BusWriteOutcome refusal;
  if (!key) {
    refusal = {result::kNoAnswer, t::kUnknownInstrument + ShownNetworkText(set->id)};
  } else if (twice) {
    refusal = {result::kStoppedToCorrect, t::kSerialTwice + set->id};
  } else if (!parameter) {
    refusal = {result::kParameterNotFound,
               t::kParameterNotAllowed + ShownNetworkText(set->parameter)};
  } else if (!config_.write.allow) {
    refusal = {result::kStoppedToCorrect, t::kWritesOff};
  } else if (!WriteAllowed(config_.write, *parameter)) {
    refusal = {result::kStoppedToCorrect,
               t::kParameterNotAllowed + ShownNetworkText(set->parameter)};
  } else if (payload.size() > kMostPayloadBytes) {
    refusal = {result::kBadNumber, t::kPayloadTooLong};
  } else if (!ParseSetPayload(payload, value)) {
    refusal = {result::kBadNumber, t::kPayloadNotNumber + ShownNetworkText(payload)};
  }
  const std::string shown_topic = ShownNetworkText(topic, kMostShownTopicBytes);
  if (refusal.result != result::kOk) {
    log_.Warning(t::kWriteRefused + shown_topic + ": " + refusal.message);
    PublishResult(result_topic, refusal);
    if (key) RepublishParameters(*key);
    return;
  }
  log_.Info(t::kWriteRequested + shown_topic + " = " + ShownNetworkText(payload));
  // The broker relays the command: its address is the origin known.
  const std::string origin = "MQTT " + mqtt_.host + ":" + std::to_string(mqtt_.port);
  bus_.RequestWrite(key->first, key->second, *parameter, value, origin,
                    [this, shown_topic, result_topic, key = *key](const BusWriteOutcome& outcome) {
                      if (outcome.result == result::kOk) {
                        log_.Info(t::kWriteDone + shown_topic);
                      } else {
                        log_.Warning(t::kWriteFailed + shown_topic + ": " + outcome.message);
                        RepublishParameters(key);
                      }
                      PublishResult(result_topic, outcome);
                    });
}

void MqttSink::RepublishParameters(const Key& key) {
  {
    const std::lock_guard lock(mutex_);
    pending_[key].parameters = true;
  }
  wake_.notify_one();
}

void MqttSink::PublishResult(const std::string& topic, const BusWriteOutcome& outcome) {
  Publish(topic, WriteResultJson(outcome), false);
}

}  // namespace zrm
