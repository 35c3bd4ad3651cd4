#pragma once
// One frame as the emulated instrument received it, with what it made of it
// and what it answered: the evidence integration tests look at.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "lib/parameter_key.h"

namespace zrm::sim {

using Clock = std::chrono::steady_clock;

enum class ChecksumVerdict {
  kGood,    // the decimal checksum matches the CRC of the text
  kBad,     // a checksum was there and does not match
  kAbsent,  // no checksum could be taken from the frame
};

// The request's fields, decoded as far as the frame allowed.
struct RequestFields {
  std::optional<unsigned> net_address;
  std::optional<unsigned> command;          // 37 read, 38 write
  std::optional<ParameterKey> parameter;    // from the address triplet
  std::string data;                         // hex digits of a write, empty for a read
  std::optional<std::uint32_t> checksum;    // the decimal number sent
};

struct ReceivedFrame {
  std::size_t number = 0;          // 1-based since Start; fault selectors use it
  Clock::time_point first_byte;    // arrival of its first byte
  Clock::time_point time;          // arrival of its CR
  std::string raw;                 // every byte received, preamble through CR
  ChecksumVerdict checksum = ChecksumVerdict::kAbsent;
  RequestFields fields;
  std::string reply;               // bytes sent back; empty when it stayed silent
};

}  // namespace zrm::sim
