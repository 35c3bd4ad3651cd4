#pragma once
// The recent history of the current values for the trend chart: a ring of a
// fixed number of samples, so a day of polling never grows it; the oldest
// sample gives way to the newest.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/exchange_log.h"

namespace zrm {

// Twenty minutes of polling at 500 ms.
inline constexpr std::size_t kDefaultTrendCapacity = 2400;

struct TrendSample {
  std::int64_t elapsed_ms = 0;  // steady clock, the chart's time axis
  TimeOfDay time;               // local time of day, for the exported text
  std::array<float, 2> value{};           // clamped, channel 1 first
  std::array<std::uint8_t, 2> status{};   // status codes
  std::uint8_t relay_byte = 0;            // bit 0 relay 1, bit 1 relay 2
  std::array<float, 2> setpoint1{};       // th1 of each channel
  std::array<float, 2> setpoint2{};       // th2 of each channel
  bool after_gap = false;  // polls failed since the sample before: no line joins them
};

class TrendHistory {
 public:
  // `capacity` of at least one sample.
  explicit TrendHistory(std::size_t capacity = kDefaultTrendCapacity);

  void Add(const TrendSample& sample);
  void Clear();

  std::size_t Size() const { return size_; }
  std::size_t Capacity() const { return ring_.size(); }
  // Sample `i` counted from the oldest kept; `i` < Size().
  const TrendSample& At(std::size_t i) const;
  // All kept samples, oldest first.
  std::vector<TrendSample> Samples() const;

 private:
  std::vector<TrendSample> ring_;
  std::size_t oldest_ = 0;
  std::size_t size_ = 0;
};

}  // namespace zrm
