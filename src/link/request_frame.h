#pragma once
// Request lines as they go on the wire: four 0xFF bytes, the request text
// ":address;command;triplet;[data;]", the checksum of the text after ":" in
// decimal, and a carriage return.

#include <cstdint>
#include <string>

#include "link/address_triplet.h"

namespace zrm {

// A complete frame, bytes held in a string.
using RequestFrame = std::string;

// ":%u;37;%02X%02X%02X;" framed.
RequestFrame BuildReadRequest(std::uint32_t net_address, const AddressTriplet& triplet);

// ":%u;38;%02X%02X%02X;%02X;" framed; a value above 255 is sent as FF.
RequestFrame BuildWriteByteRequest(std::uint32_t net_address, const AddressTriplet& triplet,
                                   std::uint32_t value);

// ":%u;38;%02X%02X%02X;%02X%02X%02X%02X;" framed, most significant byte first.
RequestFrame BuildWriteDwordRequest(std::uint32_t net_address, const AddressTriplet& triplet,
                                    std::uint32_t value);

}  // namespace zrm
