#include "support/mosquitto_broker.h"

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

constexpr auto kStartWait = std::chrono::seconds(10);

}  // namespace

MosquittoBroker::MosquittoBroker(Mode mode, const std::string& dir)
    : mode_(mode), dir_(dir), port_(FreePort()), config_path_(dir + "/mosquitto.conf") {
  // Run by root, the broker would drop to the user "mosquitto", who cannot
  // read the test's folder: it stays the user running the test.
  const passwd* user = getpwuid(getuid());
  std::string conf = "listener " + std::to_string(port_) + " 127.0.0.1\npersistence false\nuser " +
                     std::string(user->pw_name) + "\n";
  if (mode == Mode::kPassword) {
    RunProgram({"mosquitto_passwd", "-c", "-b", dir + "/passwd", "gw", "secret"}, dir,
               std::chrono::seconds(10));
    conf += "allow_anonymous false\npassword_file " + dir + "/passwd\n";
  } else {
    conf += "allow_anonymous true\n";
  }
  const auto certificate = [&](const std::string& name) {
    RunProgram(
        {"openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
         "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
         "-keyout", dir + "/" + name + "-key.pem", "-out", dir + "/" + name + ".pem"},
        dir, std::chrono::seconds(20));
  };
  if (mode == Mode::kTls || mode == Mode::kMutualTls) {
    certificate("broker");
    conf += "certfile " + dir + "/broker.pem\nkeyfile " + dir + "/broker-key.pem\n";
  }
  if (mode == Mode::kMutualTls) {
    certificate("client");
    conf += "require_certificate true\ncafile " + dir + "/client.pem\n";
  }
  WriteBytes(config_path_, conf);
}

bool MosquittoBroker::Start() {
  process_ = std::make_unique<ChildProgram>(
      std::vector<std::string>{"mosquitto", "-c", config_path_}, dir_);
  return WaitForListener(port_, kStartWait);
}

void MosquittoBroker::Kill() {
  if (!process_) return;
  process_->Signal(SIGKILL);
  process_->Wait(kStartWait);
  process_.reset();
}

MqttConfig MosquittoBroker::ClientConfig() const {
  MqttConfig c;
  c.port = static_cast<std::uint16_t>(port_);
  if (mode_ == Mode::kPassword) {
    c.user = "gw";
    c.password = "secret";
  }
  if (mode_ == Mode::kTls || mode_ == Mode::kMutualTls) c.ca_file = dir_ + "/broker.pem";
  if (mode_ == Mode::kMutualTls) {
    c.cert_file = dir_ + "/client.pem";
    c.key_file = dir_ + "/client-key.pem";
  }
  return c;
}

}  // namespace zrm::test
