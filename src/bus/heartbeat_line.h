#pragma once
// A line that tells when its thread last came back from it: a line thread
// stuck in a driver call (a USB adapter whose driver hangs in a write, say)
// stops coming back, and whoever watches the lines can tell it from one
// that only waits for a slow instrument.

#include <atomic>

#include "platform/line.h"

namespace zrm {

class HeartbeatLine : public Line {
 public:
  // `line` and `beat` must outlive this object; `beat` receives the
  // steady time (its count of ticks) at every return.
  HeartbeatLine(Line& line, std::atomic<SteadyClock::rep>& beat) : line_(line), beat_(beat) {}

  bool IsOpen() const override { return line_.IsOpen(); }
  bool Reopen() override { return Beat(line_.Reopen()); }
  void Write(const std::uint8_t* data, std::size_t size) override {
    line_.Write(data, size);
    Beat(true);
  }
  LineRead Read(std::uint8_t* buffer, std::size_t capacity,
                SteadyClock::time_point deadline) override {
    return Beat(line_.Read(buffer, capacity, deadline));
  }
  void DiscardInput() override {
    line_.DiscardInput();
    Beat(true);
  }

 private:
  template <typename Value>
  Value Beat(Value value) {
    beat_.store(SteadyClock::now().time_since_epoch().count(), std::memory_order_relaxed);
    return value;
  }

  Line& line_;
  std::atomic<SteadyClock::rep>& beat_;
};

}  // namespace zrm
