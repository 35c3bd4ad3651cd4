#pragma once
// Debian's mosquitto broker on 127.0.0.1 for one test: plain, with a
// password file, or with TLS on a certificate made with openssl. No
// persistence: a restarted broker has forgotten every retained message.
// With mutual TLS the client's certificate is made too.

#include <memory>
#include <string>

#include "support/child_program.h"
#include "gateway/gateway_config.h"

namespace zrm::test {

class MosquittoBroker {
 public:
  // kMutualTls: TLS, and the broker takes only clients with its certificate.
  enum class Mode { kPlain, kPassword, kTls, kMutualTls };

  // Writes the broker's files into `dir` (and the certificate with TLS).
  MosquittoBroker(Mode mode, const std::string& dir);

  // Starts the broker and waits until it listens; false when it did not.
  bool Start();
  // Kills it as a crash would.
  void Kill();

  int Port() const { return port_; }
  // The [MQTT] settings a client needs for this broker.
  MqttConfig ClientConfig() const;

 private:
  Mode mode_;
  std::string dir_;
  int port_;
  std::string config_path_;
  std::unique_ptr<ChildProgram> process_;
};

}  // namespace zrm::test
