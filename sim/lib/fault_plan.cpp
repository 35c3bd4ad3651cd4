#include "lib/fault_plan.h"

#include <algorithm>

namespace zrm::sim {
namespace {

// A reply must exceed this many bytes to overflow the client's buffer.
constexpr std::size_t kLongReplySize = 300;
constexpr char kJunk[] = "#~*?%&";

std::uint64_t SplitMix64(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

bool InShare(double share, std::uint64_t seed, std::size_t fault_index, std::size_t request_number) {
  const std::uint64_t h = SplitMix64(seed ^ SplitMix64(fault_index * 0x10001ull + request_number));
  const double uniform = static_cast<double>(h >> 11) / static_cast<double>(1ull << 53);
  return uniform < share;
}

bool Hits(const FaultWhen& when, std::size_t request_number,
          const std::optional<ParameterKey>& parameter, std::uint64_t seed, std::size_t index) {
  switch (when.by) {
    case FaultWhen::By::kRequestNumber: return when.request_number == request_number;
    case FaultWhen::By::kParameter:
      return parameter && parameter->space == when.space && parameter->address == when.address &&
             (!when.width || *when.width == parameter->width);
    case FaultWhen::By::kShare: return InShare(when.share, seed, index, request_number);
  }
  return false;
}

void Apply(const Fault& fault, FaultEffects& effects) {
  switch (fault.kind) {
    case FaultKind::kNoReply: effects.no_reply = true; break;
    case FaultKind::kCutReply: effects.cut = fault.argument; break;
    case FaultKind::kGarbageBefore: effects.garbage = fault.argument; break;
    case FaultKind::kLongReply: effects.long_reply = true; break;
    case FaultKind::kErrorCode: effects.code = static_cast<std::uint16_t>(fault.argument); break;
    case FaultKind::kDelay: effects.delay += std::chrono::milliseconds(fault.argument); break;
    case FaultKind::kWrongValue: effects.wrong_value = true; break;
    case FaultKind::kNulBytes: effects.nul = fault.argument; break;
    case FaultKind::kVanish: effects.vanish = true; break;
  }
}

std::string Junk(std::size_t count) {
  std::string junk;
  for (std::size_t i = 0; i < count; ++i) junk += kJunk[i % (sizeof kJunk - 1)];
  return junk;
}

}  // namespace

FaultEffects SelectFaults(const std::vector<Fault>& faults, std::size_t request_number,
                          const std::optional<ParameterKey>& parameter, std::uint64_t seed) {
  FaultEffects effects;
  for (std::size_t i = 0; i < faults.size(); ++i) {
    if (Hits(faults[i].when, request_number, parameter, seed, i)) Apply(faults[i], effects);
  }
  return effects;
}

std::string ShapeReply(std::string reply, const FaultEffects& effects) {
  if (reply.empty()) return reply;
  if (effects.nul) reply.insert(reply.size() / 2, std::string(*effects.nul, '\0'));
  if (effects.garbage) reply = Junk(*effects.garbage) + reply;
  if (effects.long_reply && reply.size() < kLongReplySize) {
    reply = Junk(kLongReplySize - reply.size()) + reply;
  }
  if (effects.cut) {
    const std::size_t all_but_cr = reply.size() - 1;
    reply.resize(*effects.cut == 0 ? all_but_cr : std::min<std::size_t>(*effects.cut, all_but_cr));
  }
  return reply;
}

}  // namespace zrm::sim
