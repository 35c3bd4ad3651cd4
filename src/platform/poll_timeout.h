#pragma once
// The time-out poll() takes for a wait that must end at a deadline.

#include "platform/line.h"

namespace zrm {

// Whole milliseconds until `deadline`, rounded up so a poll never wakes
// before it; 0 once it has passed.
int MillisecondsUntil(SteadyClock::time_point deadline);

}  // namespace zrm
