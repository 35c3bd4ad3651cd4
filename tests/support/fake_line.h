#pragma once
// In-memory lines and logs for the protocol tests: the instrument is a
// function from each frame written to the bytes it answers.

#include <functional>
#include <string>
#include <vector>

#include "link/exchange_log.h"
#include "platform/line.h"

namespace zrm::test {

class FakeLine : public Line {
 public:
  // Bytes the instrument sends back for a frame; empty for silence.
  std::function<std::string(const std::string& frame)> respond =
      [](const std::string&) { return std::string(); };

  std::vector<std::string> written;  // every frame, in order
  std::string pending;               // bytes arrived and not yet read
  bool open = true;
  bool vanish_on_read = false;       // the next read finds the device gone
  bool reopen_succeeds = false;
  int reopen_calls = 0;
  std::size_t max_chunk = 1024;      // most bytes one read hands out

  bool IsOpen() const override { return open; }
  bool Reopen() override;
  void Write(const std::uint8_t* data, std::size_t size) override;
  LineRead Read(std::uint8_t* buffer, std::size_t capacity,
                SteadyClock::time_point deadline) override;
  void DiscardInput() override { pending.clear(); }
};

class RecordingLog : public ExchangeLog {
 public:
  std::vector<ExchangeRecord> records;
  ExchangeResult LogExchange(const ExchangeRecord& record) override {
    records.push_back(record);
    return result::kOk;
  }
};

// "!" address ";" data ";" checksum CR, as an instrument answers a read.
std::string ReadReply(const std::string& data, unsigned address = 1);

// The text of a request frame between its preamble and checksum,
// e.g. ":1;37;00E002;".
std::string RequestText(const std::string& frame);

}  // namespace zrm::test
