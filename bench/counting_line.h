#pragma once
// A Line that passes everything to another Line and counts what crosses it:
// every Write opens an exchange, every byte read after it is that exchange's
// reply. The benchmarks take their byte counts from here, so they hold for
// any instrument behind the line. It also times each exchange from its
// write to the read that brought the reply's CR.

#include <vector>

#include "platform/line.h"
#include "wire_model.h"

namespace zrm::bench {

class CountingLine : public Line {
 public:
  // `line` must outlive this object.
  explicit CountingLine(Line& line) : line_(line) {}

  bool IsOpen() const override { return line_.IsOpen(); }
  bool Reopen() override { return line_.Reopen(); }
  void Write(const std::uint8_t* data, std::size_t size) override;
  LineRead Read(std::uint8_t* buffer, std::size_t capacity,
                SteadyClock::time_point deadline) override;
  void DiscardInput() override { line_.DiscardInput(); }

  // The exchanges since the last Clear, in order.
  const std::vector<ExchangeBytes>& Exchanges() const { return exchanges_; }
  // For each exchange, ms from its write to its reply's CR; negative when no
  // CR came.
  const std::vector<double>& ReplyTimes() const { return reply_ms_; }
  void Clear();

 private:
  Line& line_;
  std::vector<ExchangeBytes> exchanges_;
  std::vector<double> reply_ms_;
  SteadyClock::time_point written_;
};

}  // namespace zrm::bench
