#pragma once
// A subscriber to every topic of a broker that keeps what arrives, for the
// tests to wait on and look at.

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "gateway/gateway_config.h"

struct mosquitto;

namespace zrm::test {

struct ReceivedMessage {
  std::string topic;
  std::string payload;
  bool retained = false;
};

class TopicRecorder {
 public:
  // Connects with `config`'s credentials and TLS and subscribes to "#".
  explicit TopicRecorder(const MqttConfig& config);
  ~TopicRecorder();
  TopicRecorder(const TopicRecorder&) = delete;
  TopicRecorder& operator=(const TopicRecorder&) = delete;

  bool Subscribed(std::chrono::milliseconds timeout);
  // The first message on `topic` since the last Clear() whose payload
  // contains `part`, waiting for it up to `timeout`.
  std::optional<ReceivedMessage> WaitFor(const std::string& topic, const std::string& part,
                                         std::chrono::milliseconds timeout);
  std::vector<ReceivedMessage> On(const std::string& topic) const;
  // Every message whose topic starts with `prefix`.
  std::vector<ReceivedMessage> Under(const std::string& prefix) const;
  void Clear();
  // Publishes as the plant would.
  void Publish(const std::string& topic, const std::string& payload, bool retain = false);

 private:
  mosquitto* client_ = nullptr;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<ReceivedMessage> messages_;
  bool subscribed_ = false;
};

}  // namespace zrm::test
