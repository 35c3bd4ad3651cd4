#include "counting_line.h"

#include <algorithm>

namespace zrm::bench {

void CountingLine::Write(const std::uint8_t* data, std::size_t size) {
  exchanges_.push_back({size, 0});
  reply_ms_.push_back(-1);
  written_ = SteadyClock::now();
  line_.Write(data, size);
}

LineRead CountingLine::Read(std::uint8_t* buffer, std::size_t capacity,
                            SteadyClock::time_point deadline) {
  const LineRead read = line_.Read(buffer, capacity, deadline);
  // Bytes before the first request (none on a quiet line) belong to no exchange.
  if (read.status != LineReadStatus::kData || exchanges_.empty()) return read;
  exchanges_.back().received += read.count;
  if (reply_ms_.back() < 0 && std::find(buffer, buffer + read.count, '\r') != buffer + read.count)
    reply_ms_.back() =
        std::chrono::duration<double, std::milli>(SteadyClock::now() - written_).count();
  return read;
}

void CountingLine::Clear() {
  exchanges_.clear();
  reply_ms_.clear();
}

}  // namespace zrm::bench
