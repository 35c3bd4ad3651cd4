#include "monitor/trend_history.h"

#include <algorithm>

namespace zrm {

TrendHistory::TrendHistory(std::size_t capacity) : ring_(std::max<std::size_t>(capacity, 1)) {}

void TrendHistory::Add(const TrendSample& sample) {
  if (size_ < ring_.size()) {
    ring_[(oldest_ + size_) % ring_.size()] = sample;
    ++size_;
    return;
  }
  ring_[oldest_] = sample;
  oldest_ = (oldest_ + 1) % ring_.size();
}

void TrendHistory::Clear() {
  oldest_ = 0;
  size_ = 0;
}

const TrendSample& TrendHistory::At(std::size_t i) const {
  return ring_[(oldest_ + i) % ring_.size()];
}

std::vector<TrendSample> TrendHistory::Samples() const {
  std::vector<TrendSample> samples;
  samples.reserve(size_);
  for (std::size_t i = 0; i < size_; ++i) samples.push_back(At(i));
  return samples;
}

}  // namespace zrm
