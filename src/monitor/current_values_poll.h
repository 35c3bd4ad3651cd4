#pragma once
// One poll of the current values: the status block exchange, its decoding
// into the held values and the page that shows them. The window's worker
// thread and `zrm48ctl status` both poll with it.

#include "link/exchange_log.h"
#include "link/parameter_access.h"
#include "monitor/current_values.h"
#include "monitor/current_values_view.h"

namespace zrm {

struct PollOutcome {
  ExchangeResult result = result::kOk;
  CurrentValuesView view;  // the link state included
};

// Reads the status block; on success decodes it into `held`. Whatever the
// result, the held values are clamped and shown, and the link state box carries the
// link state. A failed poll keeps the last good values and shows them as
// last known.
PollOutcome PollCurrentValues(ParameterAccess& link, CurrentValues& held);

// The measurement log line's values: the held (clamped) values and the wait
// start of the last status block exchange.
MeasurementRecord MeasurementOf(const CurrentValues& held, const TimeOfDay& wait_start);

}  // namespace zrm
