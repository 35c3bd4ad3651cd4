#pragma once
// What the bus poller knows about one instrument on a line: an immutable
// copy taken after every poll. The gateway's sinks, the window's bus view
// and `zrm48ctl watch` read only these copies; nobody reads the line.

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "link/exchange_result.h"
#include "link/parameter_access.h"

namespace zrm {

// What a channel measures and how it shows it, read with the identity: what
// the plant's dashboards need to label and bound its values.
struct BusChannelSetup {
  std::int32_t dat = 0;    // sensor type code 0..24
  std::int32_t point = 0;  // digits after the decimal point, 0..3 as set
  float diap_max = 0;      // upper end of the measuring range
};

// The instrument's identity, read once at start and after every return to
// online.
struct BusIdentity {
  bool known = false;
  std::int32_t device_type = 0;       // proc_ver: 0 4810/11, 1 4813, 2 4816
  std::int32_t prefix = 0;            // otk_type, three digits
  std::uint32_t serial_number = 0;    // five digits
  std::int32_t firmware_version = 0;  // packed C.B.A
  std::array<BusChannelSetup, 2> channels{};
};

// One channel as the instrument sent it: `value` is the float of the status
// block unchanged (a not-a-number stays one; no display clamping).
struct BusChannel {
  float value = 0;
  std::uint8_t status = 0;
  std::uint8_t flags = 0;  // bit 0 set point 1, bit 1 set point 2, bit 2 sensor break
};

enum class BusAvailability {
  kUnknown,  // not answered yet since start
  kOnline,   // the last poll, or one of the last OfflineAfter-1, was answered
  kOffline,  // OfflineAfter failed polls in a row, or the line's device vanished
};

struct BusSnapshot {
  std::size_t line = 0;  // index of the line in the poller's configuration
  std::uint32_t address = 0;
  BusAvailability availability = BusAvailability::kUnknown;
  BusIdentity identity;
  bool has_values = false;  // a status block has been answered since start
  std::array<BusChannel, 2> channel{};
  std::uint8_t relay_byte = 0;                               // bit 0 relay 1, bit 1 relay 2
  std::uint8_t input_byte = 0;                               // bits 0..4 keys, bits 5, 6 encoder
  std::chrono::steady_clock::time_point last_answer{};       // steady time of the last answer
  std::chrono::system_clock::time_point last_answer_wall{};  // the same on the wall clock
  std::uint32_t failed_in_row = 0;
  ExchangeResult last_result = result::kOk;  // of the last poll
  std::uint64_t polls_answered = 0;          // grows by one with every answered poll
  std::uint32_t identity_reads = 0;          // grows by one with every identity read
  // A plant write failed midway and left settings neither old nor new; the
  // poller puts the old ones back at every answered poll until it is done.
  bool unfinished_write = false;
};

}  // namespace zrm
