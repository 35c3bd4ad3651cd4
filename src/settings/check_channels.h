#pragma once
// The third check before writing: the values of each selected channel
// against the instrument's limits. Some faults stop the write, some are
// corrected when the user agrees, and a few remarks ask for confirmation.

#include "link/exchange_result.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// The set points the checks let through without a question; a hysteresis
// must be above zero and not above the channel's upper range end.
inline constexpr float kLargestSetpoint = 9999.0f;
inline constexpr float kSmallestSetpoint = -999.0f;

// Runs CheckChannel for channel index 0, then 1, each only when that
// channel's `select` is 1; returns the first non-zero result.
ExchangeResult CheckChannels(DeviceSettings& s, bool errors, bool remarks, Operator& op);

// Checks channel index k (0 channel 1, 1 channel 2; 4 for any other index):
// with `errors` the error rows (an error box stops with 17, a question
// answered No stops with 17), then with `remarks` the remark rows (No stops
// with 16). A correction accepted by Yes is made in `s` at once and is in
// force for the rows after it. Returns 0 when no row stops the write.
ExchangeResult CheckChannel(DeviceSettings& s, int k, bool errors, bool remarks, Operator& op);

}  // namespace zrm
