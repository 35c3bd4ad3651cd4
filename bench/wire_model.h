#pragma once
// What the serial line itself allows: the wire-time limit of a run of
// exchanges, and the time the same exchanges take when every reply is read in
// fixed 32-byte windows that end only on their own time-out.

#include <cstddef>
#include <optional>
#include <span>

namespace zrm::bench {

// One request and its reply as they crossed the line, in bytes.
struct ExchangeBytes {
  std::size_t sent = 0;
  std::size_t received = 0;
};

// The line under test: 8N1 at `baud`, and the instrument's think time before
// every reply.
struct LineSetup {
  unsigned baud = 9600;
  double turnaround_ms = 5;
};

// Wire time of one 8N1 byte: start bit, eight data bits, stop bit.
double ByteMs(unsigned baud);

// bytes × 10 / baud + exchanges × turnaround: no program can be faster.
double WireLimitMs(std::span<const ExchangeBytes> exchanges, const LineSetup& line);

// The per-character read time-out r (ms) that goes with a speed: 12, 9, 5, 3
// for 4800, 9600, 19200, 38400; empty for any other speed.
std::optional<unsigned> PerCharacterTimeoutMs(unsigned baud);

// One exchange when the reply is read in windows of up to 32 bytes, each
// ending when 32 bytes are in or 33 × r ms after it began, until the window
// that holds the reply's last byte (its CR) ends. The request's own wire time
// is counted as in the limit. A reply of 0 bytes is not modelled (0 is
// returned for its wait).
double FixedWindowExchangeMs(const ExchangeBytes& exchange, const LineSetup& line,
                             unsigned r_ms);

// The sum of FixedWindowExchangeMs over a run.
double FixedWindowMs(std::span<const ExchangeBytes> exchanges, const LineSetup& line,
                     unsigned r_ms);

}  // namespace zrm::bench
