#pragma once
// What the figures were taken on: the date, the processor and the load, so a
// table can be read beside the machine that produced it.

#include <string>

namespace zrm::bench {

// "YYYY-MM-DD HH:MM UTC".
std::string UtcNow();

// The processor's model name and the number of online processors.
std::string ProcessorDescription();

// The three load averages of /proc/loadavg, e.g. "1.52 2.10 2.35".
std::string LoadAverages();

}  // namespace zrm::bench
