#pragma once
// The serial line as the protocol sees it: one byte stream to the instrument.
// SerialPort implements it with termios; tests use in-memory fakes.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace zrm {

using SteadyClock = std::chrono::steady_clock;

// Outcome of one bounded read.
enum class LineReadStatus {
  kData,      // at least one byte arrived
  kTimedOut,  // nothing arrived before the deadline
  kGone,      // the device vanished (hang-up, EIO, ENXIO) or is not open
};

struct LineRead {
  LineReadStatus status = LineReadStatus::kTimedOut;
  std::size_t count = 0;  // bytes stored when status is Data
};

class Line {
 public:
  virtual ~Line() = default;

  // True while a device is open.
  virtual bool IsOpen() const = 0;

  // Opens the device again after it vanished; false when it is still away.
  virtual bool Reopen() = 0;

  // Writes the whole buffer; the outcome is not examined by the protocol.
  virtual void Write(const std::uint8_t* data, std::size_t size) = 0;

  // Waits until bytes are available or the deadline passes, then stores up to
  // `capacity` of them. Returns at once when bytes are already waiting.
  virtual LineRead Read(std::uint8_t* buffer, std::size_t capacity,
                        SteadyClock::time_point deadline) = 0;

  // Throws away whatever has arrived and not been read (stale replies).
  virtual void DiscardInput() = 0;
};

}  // namespace zrm
