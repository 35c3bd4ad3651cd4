#include "gateway/modbus_server.h"

#include <fcntl.h>
#include <modbus.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "gateway/bus_parameter_names.h"
#include "gateway/gateway_texts.h"
#include "platform/number_text.h"
#include "platform/system_reason.h"

namespace zrm {
namespace {

namespace t = gateway_texts;

constexpr int kBacklog = 16;
// Bytes kept of a client that sends while its write runs.
constexpr std::size_t kMostReceived = 4096;

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

std::uint16_t BoundPort(int fd) {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) return 0;
  if (address.ss_family == AF_INET)
    return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
  return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
}

// "Modbus 192.168.1.20:50211": the client as the history names it.
std::string PeerText(const sockaddr_storage& peer, socklen_t size) {
  std::array<char, NI_MAXHOST> host{};
  std::array<char, NI_MAXSERV> port{};
  if (getnameinfo(reinterpret_cast<const sockaddr*>(&peer), size, host.data(), host.size(),
                  port.data(), port.size(), NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return "Modbus";
  const bool v6 = peer.ss_family == AF_INET6;
  return std::string("Modbus ") + (v6 ? "[" : "") + host.data() + (v6 ? "]" : "") + ":" +
         port.data();
}

std::string WriteText(const ModbusWrite& w) {
  return "Modbus, " + std::string(BusParameterName(w.parameter)) + t::kOnLine +
         std::to_string(w.line + 1) + t::kAtAddress + std::to_string(w.address) + " = " +
         FormatGeneral(w.value, 9);
}

}  // namespace

ModbusServer::ModbusServer(const GatewayConfig& config, const ModbusConfig& listener,
                           BusAccess& bus, GatewayLog& log, ModbusLimits limits)
    : modbus_(listener),
      limits_(limits),
      write_(config.write),
      units_(UnitsOf(config, listener)),
      bus_(bus),
      log_(log) {}

ModbusServer::~ModbusServer() {
  Stop();
  CloseFd(listener_);
  CloseFd(wake_read_);
  CloseFd(wake_write_);
}

bool ModbusServer::Listen(std::string& error) {
  const std::string where = modbus_.host + ":" + std::to_string(modbus_.port);
  const std::string service = std::to_string(modbus_.port);
  // libmodbus resolves the address (IPv4, IPv6 or a name) and binds with
  // SO_REUSEADDR, so a restart does not wait for old connections to time out.
  modbus_t* context = modbus_new_tcp_pi(modbus_.host.c_str(), service.c_str());
  if (context == nullptr) {
    error = t::kCannotListen + where + ": " + SystemReason(errno);
    return false;
  }
  listener_ = modbus_tcp_pi_listen(context, kBacklog);
  const int listen_error = errno;
  modbus_free(context);  // the listener socket stays ours
  int pipe_fds[2];
  if (listener_ < 0 || pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = t::kCannotListen + where + ": " + SystemReason(listener_ < 0 ? listen_error : errno);
    CloseFd(listener_);
    return false;
  }
  wake_read_ = pipe_fds[0];
  wake_write_ = pipe_fds[1];
  fcntl(listener_, F_SETFL, fcntl(listener_, F_GETFL) | O_NONBLOCK);
  fcntl(listener_, F_SETFD, FD_CLOEXEC);
  port_ = BoundPort(listener_);
  log_.Info(t::kModbusListening + modbus_.host + ":" + std::to_string(port_));
  return true;
}

void ModbusServer::Start() {
  stop_ = false;
  thread_ = std::thread([this] { Serve(); });
}

void ModbusServer::Stop() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  const char byte = 's';
  if (::write(wake_write_, &byte, 1) < 0) { /* the pipe is full: the thread is awake anyway */
  }
  thread_.join();
  for (auto& [id, client] : clients_) CloseFd(client.fd);
  clients_.clear();
}

void ModbusServer::Serve() {
  std::vector<pollfd> fds;
  std::vector<std::uint64_t> ids;
  while (true) {
    const int wait_ms = CloseExpired(Clock::now());
    fds = {{wake_read_, POLLIN, 0}, {listener_, POLLIN, 0}};
    ids = {0, 0};
    for (const auto& [id, client] : clients_) {
      // While a write runs its client is not read: its next request waits.
      fds.push_back({client.fd, static_cast<short>(client.writing ? 0 : POLLIN), 0});
      ids.push_back(id);
    }
    if (::poll(fds.data(), fds.size(), wait_ms) < 0 && errno != EINTR) return;
    if (fds[0].revents != 0) {
      char drain[64];
      while (::read(wake_read_, drain, sizeof drain) > 0) {
      }
      {
        const std::lock_guard lock(mutex_);
        if (stop_) return;
      }
      SendEndedWrites();
    }
    if (fds[1].revents & POLLIN) Accept();
    for (std::size_t i = 2; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      const auto it = clients_.find(ids[i]);
      if (it != clients_.end() && !Receive(it->first, it->second)) Drop(it->first);
    }
  }
}

void ModbusServer::Accept() {
  while (true) {
    sockaddr_storage peer{};
    socklen_t peer_size = sizeof(peer);
    const int fd = accept4(listener_, reinterpret_cast<sockaddr*>(&peer), &peer_size,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    if (clients_.size() >= limits_.most_clients) {
      const std::uint64_t idle = LongestIdle();
      if (idle == 0) {
        ::close(fd);
        continue;
      }
      Drop(idle);
    }
    Client& client = clients_[next_client_++];
    client.fd = fd;
    client.last_received = Clock::now();
    client.peer = PeerText(peer, peer_size);
  }
}

std::uint64_t ModbusServer::LongestIdle() const {
  std::uint64_t found = 0;
  Clock::time_point oldest = Clock::time_point::max();
  for (const auto& [id, client] : clients_)
    if (!client.writing && client.last_received < oldest) {
      oldest = client.last_received;
      found = id;
    }
  return found;
}

int ModbusServer::CloseExpired(Clock::time_point now) {
  Clock::time_point next = Clock::time_point::max();
  std::vector<std::uint64_t> expired;
  for (const auto& [id, client] : clients_) {
    if (client.writing) continue;  // its write's reply is owed to it
    Clock::time_point deadline = client.last_received + limits_.idle;
    if (!client.received.empty()) deadline = std::min(deadline, client.partial_since + limits_.partial);
    if (deadline <= now)
      expired.push_back(id);
    else
      next = std::min(next, deadline);
  }
  for (const std::uint64_t id : expired) Drop(id);
  if (next == Clock::time_point::max()) return -1;
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
  return static_cast<int>(std::min<std::int64_t>(ms, 60'000));
}

bool ModbusServer::Receive(std::uint64_t id, Client& client) {
  std::uint8_t buffer[1024];
  const ssize_t got = ::recv(client.fd, buffer, sizeof buffer, 0);
  if (got == 0) return false;
  if (got < 0) return errno == EAGAIN || errno == EINTR;
  client.last_received = Clock::now();
  if (client.received.empty()) client.partial_since = client.last_received;
  client.received.insert(client.received.end(), buffer, buffer + got);
  return AnswerPending(id, client);
}

bool ModbusServer::AnswerPending(std::uint64_t id, Client& client) {
  while (!client.writing) {
    const std::optional<std::size_t> length = RequestLength(client.received);
    if (!length) return false;  // not Modbus TCP
    if (*length == 0 || client.received.size() < *length) return true;
    const std::vector<std::uint8_t> request(client.received.begin(),
                                            client.received.begin() + *length);
    client.received.erase(client.received.begin(), client.received.begin() + *length);
    client.partial_since = Clock::now();  // for what remains of the next request
    ModbusAnswer answer =
        AnswerRequest(request, units_, bus_, write_, std::chrono::steady_clock::now());
    if (!answer.refusal.empty()) log_.Warning(t::kWriteRefused + answer.refusal);
    if (answer.write) {
      client.writing = true;
      const std::string what = WriteText(*answer.write);
      log_.Info(t::kWriteRequested + what);
      bus_.RequestWrite(answer.write->line, answer.write->address, answer.write->parameter,
                        answer.write->value, client.peer,
                        [this, id, what, request](const BusWriteOutcome& outcome) {
                          {
                            const std::lock_guard lock(mutex_);
                            ended_.push_back({id, what, request, outcome});
                          }
                          const char byte = 'w';
                          if (::write(wake_write_, &byte, 1) < 0) { /* already awake */
                          }
                        });
      continue;
    }
    if (answer.reply.empty() || !Send(client, answer.reply)) return false;
  }
  return client.received.size() <= kMostReceived;
}

void ModbusServer::SendEndedWrites() {
  std::deque<WriteEnded> ended;
  {
    const std::lock_guard lock(mutex_);
    ended.swap(ended_);
  }
  for (const WriteEnded& w : ended) {
    if (w.outcome.result == result::kOk)
      log_.Info(t::kWriteDone + w.what);
    else
      log_.Warning(t::kWriteFailed + w.what + ": " + w.outcome.message);
    const auto it = clients_.find(w.client);
    if (it == clients_.end()) continue;  // gone meanwhile
    it->second.writing = false;
    if (!Send(it->second, WriteReply(w.request, w.outcome)) ||
        !AnswerPending(it->first, it->second))
      Drop(it->first);
  }
}

bool ModbusServer::Send(Client& client, const std::vector<std::uint8_t>& reply) {
  // A reply is a few hundred bytes at most; a client whose socket cannot
  // take it does not read its replies and is dropped rather than waited for.
  const ssize_t sent = ::send(client.fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  return sent == static_cast<ssize_t>(reply.size());
}

void ModbusServer::Drop(std::uint64_t id) {
  const auto it = clients_.find(id);
  if (it == clients_.end()) return;
  CloseFd(it->second.fd);
  clients_.erase(it);
}

}  // namespace zrm
