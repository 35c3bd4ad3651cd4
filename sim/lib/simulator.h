#pragma once
// An emulated ZRM 48xx instrument serving the slave side of a fresh
// pseudo-terminal from its own thread. Tests run it in-process and point the
// real serial port at SlavePath(); zrm48sim wraps it as a program.
//
// It checks what it receives (form, address, checksum, width, command) and
// answers only in the protocol's reply forms. Every accessor is thread-safe
// and may be called while it serves.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lib/fault.h"
#include "lib/parameter_key.h"
#include "lib/parameter_memory.h"
#include "lib/received_frame.h"
#include "lib/status_model.h"
#include "lib/wrong_speed.h"

namespace zrm::sim {

struct SimulatorOptions {
  unsigned address = 1;                         // network address it answers to
  // Further instruments on the same line (an RS-485 bus), each with its own
  // memory and serial number; the accessors below see the first one.
  std::vector<unsigned> more_addresses;
  unsigned baud = 9600;                         // line speed, used with line_timing
  bool line_timing = false;                     // every byte out takes 10/baud s
  bool check_speed = false;                     // a client at another speed than baud...
  WrongSpeedAnswer wrong_speed = WrongSpeedAnswer::kGarbage;  // ...gets this
  std::chrono::milliseconds turnaround{5};      // think time before each reply
  std::chrono::milliseconds restart_time{300};  // silence after the restart command
  int float_decimals = -1;                      // >= 0: floats stored rounded to that many decimals
  std::vector<Fault> faults;
  std::uint64_t seed = 1;                       // for faults selected by share
  std::optional<ParameterMemory> memory;        // initial memory; empty: the default instrument
  // The initial memory of the instrument at an address, over what it would
  // get from `memory`; with `serial`, its serial number still follows the
  // first's.
  std::map<unsigned, ParameterMemory> memory_at;
  // The first instrument's serial number (0..65535) over its memory's; the
  // further ones get the next numbers.
  std::optional<std::uint32_t> serial;
};

class Simulator {
 public:
  explicit Simulator(SimulatorOptions options = {});
  ~Simulator();  // stops serving
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Opens a fresh pseudo-terminal and starts serving it. The slave keeps its
  // default (cooked) settings until the client configures it. False with a
  // message in `error` when no pseudo-terminal could be had.
  bool Start(std::string* error = nullptr);

  // Path of the slave device the client opens; empty before Start.
  std::string SlavePath() const;

  // Stops serving and closes the pseudo-terminal. Safe to call twice.
  void Stop();

  // True while the pseudo-terminal is served (false after Stop or a vanish fault).
  bool Serving() const;

  // --- memory ---
  std::optional<std::uint32_t> Value(const ParameterKey& key) const;
  bool SetValue(const ParameterKey& key, std::uint32_t value);
  std::optional<std::uint8_t> Byte(int space, unsigned address) const;
  bool SetByte(int space, unsigned address, std::uint8_t value);
  std::optional<float> Float(unsigned address) const;  // four-byte, space 2
  bool SetFloat(unsigned address, float value);
  ParameterMemory Memory() const;
  // The memory of the instrument at `address` on the line; empty when none.
  std::optional<ParameterMemory> MemoryAt(unsigned address) const;
  void SetMemory(const ParameterMemory& memory);
  // Switches float rounding on write: >= 0 decimals kept, < 0 stores exactly.
  void SetFloatDecimals(int decimals);

  // --- received frames ---
  std::vector<ReceivedFrame> Frames() const;
  void ClearFrames();  // request numbering goes on
  std::size_t RequestsReceived() const;  // frames received since Start
  // Waits until at least `count` frames are in the log; false on time-out.
  bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;

  // --- faults ---
  // A fault with an address acts on the instrument there; one without acts
  // on the first.
  void AddFault(const Fault& fault);
  void ClearFaults();

  // --- status block ---
  void SetInputByte(std::uint8_t bits);                  // front-panel buttons, encoder
  void SetSensorBreak(int channel, bool broken);         // channel 1 or 2: code 9, flag bit 2
  void PinChannelValue(int channel, std::optional<float> value);         // empty: live again
  void PinChannelBits(int channel, std::optional<std::uint32_t> bits);   // raw value bytes
  void PinStatusCode(int channel, std::optional<std::uint8_t> code);
  StatusBytes StatusBlockNow();  // the block a read would get now

  // --- restart ---
  unsigned RestartCount() const;  // restart commands obeyed
  bool Restarting() const;        // inside the silence after a restart

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zrm::sim
