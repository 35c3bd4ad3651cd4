#pragma once
// The Modbus TCP listener of the gateway: one thread serves every client
// with poll(), reading each request as its bytes come, so a slow or silent
// client never holds the others. Answers come from the snapshots; a write
// is queued to its line and its reply sent once the line has done it, while
// the other clients go on being served.

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gateway/bus_access.h"
#include "gateway/gateway_config.h"
#include "gateway/gateway_log.h"
#include "gateway/modbus_request.h"

namespace zrm {

// What one client may hold of the server: a plant's SCADA and PLCs open a
// few connections and keep them busy; a connection that sends nothing, or
// half a request, is taken back so that nobody can lock the others out.
struct ModbusLimits {
  std::size_t most_clients = 64;
  std::chrono::milliseconds idle{60'000};    // nothing received: closed
  std::chrono::milliseconds partial{5'000};  // half a request held: closed
};

class ModbusServer {
 public:
  // Listens at `listener` for the lines it serves (ListenerOf). `bus` and
  // `log` must outlive the server.
  ModbusServer(const GatewayConfig& config, const ModbusConfig& listener, BusAccess& bus,
               GatewayLog& log, ModbusLimits limits = {});
  ~ModbusServer();  // stops
  ModbusServer(const ModbusServer&) = delete;
  ModbusServer& operator=(const ModbusServer&) = delete;

  // Binds the listener. False with `error` when it cannot listen.
  bool Listen(std::string& error);
  // The port listened on (the one bound, for a configured port 0).
  std::uint16_t Port() const { return port_; }

  void Start();
  // Closes every connection and the listener; a write under way still ends
  // on its line, its reply is dropped.
  void Stop();

 private:
  using Clock = std::chrono::steady_clock;
  struct Client {
    int fd = -1;
    std::vector<std::uint8_t> received;
    bool writing = false;  // a write runs: its reply comes before the next request
    std::string peer;      // "Modbus 192.168.1.20:50211"
    Clock::time_point last_received;  // or accepted
    Clock::time_point partial_since;  // the first byte of the request not yet whole
  };
  struct WriteEnded {
    std::uint64_t client = 0;
    std::string what;  // the write as the log names it
    std::vector<std::uint8_t> request;
    BusWriteOutcome outcome;
  };

  void Serve();
  void Accept();
  // Closes the connections past their limits; the time until the next one
  // may be, for poll() (-1: none).
  int CloseExpired(Clock::time_point now);
  // At the connection limit: the client idle the longest, not one whose
  // write runs; 0 when every one writes.
  std::uint64_t LongestIdle() const;
  // False when the client is to be dropped.
  bool Receive(std::uint64_t id, Client& client);
  bool AnswerPending(std::uint64_t id, Client& client);
  void SendEndedWrites();
  bool Send(Client& client, const std::vector<std::uint8_t>& reply);
  void Drop(std::uint64_t id);

  ModbusConfig modbus_;
  ModbusLimits limits_;
  WriteConfig write_;
  ModbusUnits units_;
  BusAccess& bus_;
  GatewayLog& log_;
  int listener_ = -1;
  int wake_read_ = -1;  // a byte here: a write ended, or stop
  int wake_write_ = -1;
  std::uint16_t port_ = 0;
  std::thread thread_;
  std::map<std::uint64_t, Client> clients_;  // the serving thread's own
  std::uint64_t next_client_ = 1;

  std::mutex mutex_;
  std::deque<WriteEnded> ended_;
  bool stop_ = false;
};

}  // namespace zrm
