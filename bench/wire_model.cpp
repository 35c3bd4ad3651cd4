#include "wire_model.h"

#include <algorithm>
#include <cmath>

namespace zrm::bench {

namespace {

constexpr double kBitsPerByte = 10;
constexpr std::size_t kWindowBytes = 32;
// A window of 32 bytes times out after 32 × r (per byte) + r (constant).
constexpr double kWindowTimeoutInR = kWindowBytes + 1;

// Bytes of the reply that have fully arrived `t` ms after the request left
// the wire.
std::size_t ArrivedBy(double t, std::size_t reply_bytes, const LineSetup& line) {
  const double on_wire = t - line.turnaround_ms;
  if (on_wire <= 0) return 0;
  const double whole = std::floor(on_wire / ByteMs(line.baud) + 1e-9);
  return std::min(reply_bytes, static_cast<std::size_t>(whole));
}

// Moment the reply byte with 0-based `index` has fully arrived.
double ArrivalOf(std::size_t index, const LineSetup& line) {
  return line.turnaround_ms + static_cast<double>(index + 1) * ByteMs(line.baud);
}

}  // namespace

double ByteMs(unsigned baud) { return kBitsPerByte * 1000.0 / std::max(1u, baud); }

double WireLimitMs(std::span<const ExchangeBytes> exchanges, const LineSetup& line) {
  double total = 0;
  for (const auto& e : exchanges)
    total += static_cast<double>(e.sent + e.received) * ByteMs(line.baud) + line.turnaround_ms;
  return total;
}

std::optional<unsigned> PerCharacterTimeoutMs(unsigned baud) {
  switch (baud) {
    case 4800: return 12;
    case 9600: return 9;
    case 19200: return 5;
    case 38400: return 3;
    default: return std::nullopt;
  }
}

double FixedWindowExchangeMs(const ExchangeBytes& exchange, const LineSetup& line,
                             unsigned r_ms) {
  const double window_ms = kWindowTimeoutInR * r_ms;
  double now = 0;  // since the request left the wire
  std::size_t gathered = 0;
  while (gathered < exchange.received) {
    const double deadline = now + window_ms;
    const std::size_t full = gathered + kWindowBytes;
    if (full <= exchange.received && ArrivalOf(full - 1, line) <= deadline) {
      // The window fills up and returns with its 32nd byte.
      now = std::max(now, ArrivalOf(full - 1, line));
      gathered = full;
    } else {
      // The window runs out its whole time with fewer bytes.
      now = deadline;
      gathered = ArrivedBy(deadline, exchange.received, line);
    }
  }
  return static_cast<double>(exchange.sent) * ByteMs(line.baud) + now;
}

double FixedWindowMs(std::span<const ExchangeBytes> exchanges, const LineSetup& line,
                     unsigned r_ms) {
  double total = 0;
  for (const auto& e : exchanges) total += FixedWindowExchangeMs(e, line, r_ms);
  return total;
}

}  // namespace zrm::bench
