#pragma once
// A bare client of the simulator's slave device for its own tests: raw mode,
// frames built by hand, replies read until CR or a deadline.

#include <chrono>
#include <string>

namespace zrm::sim::test {

class RawClient {
 public:
  // Opens `path`; with `raw` the line is put into raw mode as a client must.
  explicit RawClient(const std::string& path, bool raw = true);
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }

  void Send(const std::string& bytes);
  // Bytes until a CR (included) or until `timeout` passes; `hung_up` tells
  // whether the device went away.
  std::string Receive(std::chrono::milliseconds timeout, bool* hung_up = nullptr);
  // Send, then Receive.
  std::string Exchange(const std::string& bytes,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));

 private:
  int fd_ = -1;
};

// Four 0xFF, the text, its CRC in decimal and CR: a well-formed request.
std::string RequestFrame(const std::string& text_after_colon_with_colon);

}  // namespace zrm::sim::test
