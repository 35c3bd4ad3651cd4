#include "gateway/topic_recorder.h"

#include <mosquitto.h>

namespace zrm::test {

TopicRecorder::TopicRecorder(const MqttConfig& config) {
  mosquitto_lib_init();
  client_ = mosquitto_new(nullptr, true, this);
  if (!config.user.empty())
    mosquitto_username_pw_set(client_, config.user.c_str(), config.password.c_str());
  if (!config.ca_file.empty())
    mosquitto_tls_set(client_, config.ca_file.c_str(), nullptr,
                      config.cert_file.empty() ? nullptr : config.cert_file.c_str(),
                      config.key_file.empty() ? nullptr : config.key_file.c_str(), nullptr);
  mosquitto_reconnect_delay_set(client_, 1, 1, false);
  mosquitto_connect_callback_set(client_, [](mosquitto* m, void*, int rc) {
    if (rc == 0) mosquitto_subscribe(m, nullptr, "#", 0);
  });
  mosquitto_subscribe_callback_set(client_, [](mosquitto*, void* self, int, int, const int*) {
    auto* r = static_cast<TopicRecorder*>(self);
    const std::lock_guard lock(r->mutex_);
    r->subscribed_ = true;
    r->arrived_.notify_all();
  });
  mosquitto_message_callback_set(client_, [](mosquitto*, void* self, const mosquitto_message* m) {
    auto* r = static_cast<TopicRecorder*>(self);
    const std::lock_guard lock(r->mutex_);
    r->messages_.push_back(
        {m->topic,
         std::string(static_cast<const char*>(m->payload), static_cast<std::size_t>(m->payloadlen)),
         m->retain});
    r->arrived_.notify_all();
  });
  mosquitto_connect_async(client_, config.host.c_str(), config.port, 30);
  mosquitto_loop_start(client_);
}

TopicRecorder::~TopicRecorder() {
  mosquitto_disconnect(client_);
  mosquitto_loop_stop(client_, false);
  mosquitto_destroy(client_);
  mosquitto_lib_cleanup();
}

bool TopicRecorder::Subscribed(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] { return subscribed_; });
}

std::optional<ReceivedMessage> TopicRecorder::WaitFor(const std::string& topic,
                                                      const std::string& part,
                                                      std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  std::optional<ReceivedMessage> found;
  arrived_.wait_for(lock, timeout, [&] {
    for (const ReceivedMessage& m : messages_)
      if (m.topic == topic && m.payload.find(part) != std::string::npos) {
        found = m;
        return true;
      }
    return false;
  });
  return found;
}

std::vector<ReceivedMessage> TopicRecorder::On(const std::string& topic) const {
  const std::lock_guard lock(mutex_);
  std::vector<ReceivedMessage> on;
  for (const ReceivedMessage& m : messages_)
    if (m.topic == topic) on.push_back(m);
  return on;
}

std::vector<ReceivedMessage> TopicRecorder::Under(const std::string& prefix) const {
  const std::lock_guard lock(mutex_);
  std::vector<ReceivedMessage> under;
  for (const ReceivedMessage& m : messages_)
    if (m.topic.starts_with(prefix)) under.push_back(m);
  return under;
}

void TopicRecorder::Clear() {
  const std::lock_guard lock(mutex_);
  messages_.clear();
}

void TopicRecorder::Publish(const std::string& topic, const std::string& payload, bool retain) {
  mosquitto_publish(client_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                    payload.data(), 1, retain);
}

}  // namespace zrm::test
