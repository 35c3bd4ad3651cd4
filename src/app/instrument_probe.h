#pragma once
// One probe of an instrument search: a single read of the firmware version
// byte (harmless: it changes nothing in the instrument) at one address, with
// a wait as short as the line allows, instead of the link's one-second
// minimum.

#include <chrono>
#include <cstdint>

#include "link/request_frame.h"
#include "platform/line.h"

namespace zrm {

enum class ProbeAnswer {
  kReply,    // a good read reply from the address probed
  kGarbled,  // bytes came, but no reply can be read from them
  kSilent,   // nothing within the window
  kGone,     // the device vanished
};

struct ProbeResult {
  ProbeAnswer answer = ProbeAnswer::kSilent;
  std::uint8_t firmware_version = 0;  // with Reply
};

// The request a probe sends to `address`.
RequestFrame ProbeRequest(std::uint32_t address);

// How long a probe at `speed` waits for its reply from the moment its request
// is written: request and longest reply on the wire (10 bits a byte) plus
// `margin_ms`.
std::chrono::microseconds ProbeWindow(std::int32_t speed, std::uint32_t address,
                                      std::uint32_t margin_ms);

// Sends the probe and waits at most `window` for a complete reply. Stale
// input is discarded first; an echo of the request is no answer.
ProbeResult Probe(Line& line, std::uint32_t address, std::chrono::microseconds window);

}  // namespace zrm
