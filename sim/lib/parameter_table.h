#pragma once
// The instrument's parameter map: every parameter it holds, with the name a
// memory file gives it. Channel parameters are named "<field>.<channel>".

#include <string>
#include <string_view>
#include <vector>

#include "lib/parameter_key.h"

namespace zrm::sim {

enum class Access {
  kReadWrite,
  kReadOnly,  // a write is refused
  kCommand,   // write-only register; reads give 0 (the restart command)
};

struct ParameterInfo {
  ParameterKey key;
  std::string name;
  Access access = Access::kReadWrite;
};

// Every parameter of the map, in address order of its group. The status
// block is not a memory parameter and is not listed.
const std::vector<ParameterInfo>& ParameterTable();

// The entry for a key or a name; null when the instrument has no such parameter.
const ParameterInfo* FindParameter(const ParameterKey& key);
const ParameterInfo* FindParameterByName(std::string_view name);

// Address of a channel parameter: base + step x (channel - 1).
inline constexpr unsigned ChannelAddress(unsigned base, unsigned step, int channel) {
  return base + step * static_cast<unsigned>(channel - 1);
}

}  // namespace zrm::sim
