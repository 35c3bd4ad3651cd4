#pragma once
// Measures how late the window's event loop serves a 10 ms timer: every
// tick notes how much longer than 10 ms it came after the one before. A
// window that never stalls keeps this near zero; a blocking call on the
// window's thread shows up as one long tick.

#include <QObject>
#include <QTimer>
#include <vector>

#include "platform/line.h"

namespace zrm::bench {

class EventLoopLag : public QObject {
 public:
  EventLoopLag();

  // Starts ticking on the calling thread's event loop.
  void Start();
  void Stop();

  // How late each tick since the previous call came, in ms (0 when on
  // time); clears them.
  std::vector<double> TakeStalls();

 private:
  void Tick();

  QTimer timer_;
  SteadyClock::time_point last_;
  std::vector<double> stalls_;
};

}  // namespace zrm::bench
