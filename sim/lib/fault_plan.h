#pragma once
// Decides which scripted faults hit one request, and what they do to it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lib/fault.h"

namespace zrm::sim {

// The combined effect of the faults hitting one request.
struct FaultEffects {
  bool vanish = false;
  bool no_reply = false;
  bool wrong_value = false;
  bool long_reply = false;
  std::optional<std::uint16_t> code;
  std::chrono::milliseconds delay{0};
  std::optional<unsigned> garbage;  // bytes of junk before the reply
  std::optional<unsigned> nul;      // NUL bytes inside the reply
  std::optional<unsigned> cut;      // bytes kept; 0 keeps all but the CR
};

// `parameter` is empty when the request's triplet could not be decoded.
// A share is decided by a hash of seed, fault index and request number, so
// the same seed hits the same requests in every run.
FaultEffects SelectFaults(const std::vector<Fault>& faults, std::size_t request_number,
                          const std::optional<ParameterKey>& parameter, std::uint64_t seed);

// The reply as the faults deform it (junk, padding, NULs, cut).
std::string ShapeReply(std::string reply, const FaultEffects& effects);

}  // namespace zrm::sim
