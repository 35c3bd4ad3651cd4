#pragma once
// A serial line over the network: a non-blocking TCP connection to a serial
// device server or ser2net, raw or RFC 2217. It waits as the serial port
// does (poll on the socket until the first bytes or the deadline) and sends
// at once (no Nagle delay); keepalive finds a dead peer. A lost connection is
// a vanished device: reads end at once, and Reopen() connects again.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/line.h"
#include "platform/network_address.h"
#include "platform/telnet_stream.h"

namespace zrm {

class TcpLine : public Line {
 public:
  TcpLine() = default;
  ~TcpLine() override;
  TcpLine(const TcpLine&) = delete;
  TcpLine& operator=(const TcpLine&) = delete;

  // Closes what is open, then connects to `address` within the connect
  // time-out; over RFC 2217 it also sets `speed` and 8N1 on the remote port.
  // On failure returns false with "text: why" in `reason`, `text` being the
  // path the user gave. The address is kept for Reopen() either way.
  bool Open(const NetworkAddress& address, const std::string& text, std::int32_t speed,
            std::string& reason);

  // Closes the connection and forgets the address.
  void Close();

  // Over RFC 2217 sets the remote port to `speed` (kept for Reopen()); a raw
  // line has the speed the server gives it, so false with "text: why".
  bool SetSpeed(std::int32_t speed, std::string& reason);

  bool IsOpen() const override;
  bool Reopen() override;
  void Write(const std::uint8_t* data, std::size_t size) override;
  LineRead Read(std::uint8_t* buffer, std::size_t capacity,
                SteadyClock::time_point deadline) override;
  void DiscardInput() override;

 private:
  bool Connect(std::string& reason);
  bool StartRfc2217(SteadyClock::time_point deadline, std::string& reason);
  void SendAll(const std::string& bytes);
  // One recv of at most `most` bytes, their data appended to `pending_`: the
  // bytes taken from the socket (0 when none were waiting), nothing when the
  // peer has gone.
  std::optional<std::size_t> Receive(std::size_t most);
  void CloseSocket();
  LineRead Vanished();

  int fd_ = -1;
  bool has_address_ = false;
  NetworkAddress address_;
  std::string text_;
  std::int32_t speed_ = 0;
  TelnetStream telnet_;
  std::string pending_;  // data received and not yet read
};

}  // namespace zrm
