#include "event_loop_lag.h"

#include <algorithm>

namespace zrm::bench {

namespace {
constexpr int kTickMs = 10;
}

EventLoopLag::EventLoopLag() {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(kTickMs);
  connect(&timer_, &QTimer::timeout, this, &EventLoopLag::Tick);
}

void EventLoopLag::Start() {
  last_ = SteadyClock::now();
  timer_.start();
}

void EventLoopLag::Stop() { timer_.stop(); }

std::vector<double> EventLoopLag::TakeStalls() {
  std::vector<double> taken;
  taken.swap(stalls_);
  return taken;
}

void EventLoopLag::Tick() {
  const auto now = SteadyClock::now();
  const double interval = std::chrono::duration<double, std::milli>(now - last_).count();
  last_ = now;
  stalls_.push_back(std::max(0.0, interval - kTickMs));
}

}  // namespace zrm::bench
