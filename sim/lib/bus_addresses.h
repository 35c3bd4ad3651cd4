#pragma once
// The network addresses of the instruments one simulator puts on its line,
// as an RS-485 bus carries several: "7", "1,3,7" or "1-4" (or a mix, "1-3,9").

#include <string>
#include <vector>

#include "lib/parameter_memory.h"

namespace zrm::sim {

// More instruments than this on one line are refused (an RS-485 address is a
// byte, and each instrument keeps a whole memory).
inline constexpr std::size_t kMaxBusInstruments = 256;

// Reads an address list in the order given. False with a message in `error`
// on a bad number, a reversed range, a repeated address or too many.
bool ParseBusAddresses(const std::string& text, std::vector<unsigned>& addresses,
                       std::string& error);

// The memory of the instrument at `index` on the bus (0 is the first): the
// first keeps `first` unchanged, every further one its own serial number
// (the first's plus the index).
ParameterMemory BusMemberMemory(const ParameterMemory& first, std::size_t index);

// The serial number (0..65535) in `memory`.
std::uint32_t SerialNumberOf(const ParameterMemory& memory);

// Sets the serial number (0..65535) in `memory`.
void SetSerialNumber(ParameterMemory& memory, std::uint32_t serial);

}  // namespace zrm::sim
