#pragma once
// Order statistics of a handful of timings. Medians, not means: the machine
// is shared, and one run delayed by another program must not move the figure.

#include <vector>

namespace zrm::bench {

// The median (mean of the two middle values for an even count); 0 when empty.
double Median(std::vector<double> samples);

// The value that `share` (0..1) of the samples do not exceed, nearest rank;
// 0 when empty.
double Percentile(std::vector<double> samples, double share);

// The largest sample; 0 when empty.
double Largest(const std::vector<double>& samples);

}  // namespace zrm::bench
