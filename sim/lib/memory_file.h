#pragma once
// The simulator's memory file: one parameter per line, "name = value", with
// "#" starting a comment. Bytes are 0..255 (decimal or 0x hex); floats are
// decimal numbers or 0x and eight hex digits (the bit pattern). Channel
// parameters are named "<field>.<channel>", e.g. "diap_max.2".

#include <string>
#include <string_view>

#include "lib/parameter_memory.h"

namespace zrm::sim {

// Applies the lines of `text` over `memory`: named parameters change, the
// rest keep their values. On a bad line returns false with "line N: ..." in
// `error`, and `memory` is left unchanged.
bool ApplyMemoryText(std::string_view text, ParameterMemory& memory, std::string& error);

// Reads the file at `path` with ApplyMemoryText.
bool LoadMemoryFile(const std::string& path, ParameterMemory& memory, std::string& error);

// The whole memory in the file's form, every parameter of the map, floats in
// their shortest exact decimal form.
std::string MemoryFileText(const ParameterMemory& memory);

}  // namespace zrm::sim
