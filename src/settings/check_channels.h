#pragma once
// The third check before writing: the values of each selected channel
// against the instrument's limits. Some faults stop the write, some are
// corrected when the user agrees, and a few remarks ask for confirmation.

#include <vector>

#include "link/exchange_result.h"
#include "platform/operator.h"
#include "settings/device_settings.h"
#include "settings/parameter_map.h"

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

// The same check for a write that changes only `field` of channel index k:
// the error and remark rows that read that field, and no others, so that
// what the instrument already holds elsewhere neither stops nor questions
// the write of one parameter.
ExchangeResult CheckChannelField(DeviceSettings& s, int k, ChannelField field, Operator& op);

// The other channel fields those rows read (the range for a hysteresis):
// what a write of `field` alone must read from the instrument first.
std::vector<ChannelField> FieldsCheckedWith(ChannelField field);

}  // namespace zrm
