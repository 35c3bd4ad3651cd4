#pragma once
// The second check before writing: relay assignments that do not suit the
// device type are put to the user one by one as Yes/No questions.

#include <cstdint>

#include "link/exchange_result.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Asks, in a fixed order, every question whose condition holds for the
// device type `proc_ver` (0 single-channel, 1 two-channel, 2 valve
// regulator; other types are not questioned). No stops with 17, Yes goes on
// to the next question; returns 0 when every question was answered Yes.
// The relay group switch plays no part.
ExchangeResult CheckRelayLogic(std::int32_t proc_ver, const RelaySettings& relay, Operator& op);

}  // namespace zrm
