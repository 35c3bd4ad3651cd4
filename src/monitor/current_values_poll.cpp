#include "monitor/current_values_poll.h"

namespace zrm {

PollOutcome PollCurrentValues(ParameterAccess& link, CurrentValues& held) {
  StatusBlock block{};
  PollOutcome outcome;
  outcome.result = link.ReadStatusBlock(block);
  if (outcome.result == result::kOk) DecodeStatusBlock(block, held);
  outcome.view = ShowCurrentValues(held);
  outcome.view.link_state = LinkStateBox(outcome.result);
  outcome.view.last_known = outcome.result != result::kOk;
  return outcome;
}

MeasurementRecord MeasurementOf(const CurrentValues& held, const TimeOfDay& wait_start) {
  MeasurementRecord record;
  record.wait_start = wait_start;
  record.relay_byte = held.relay_byte;
  record.value1 = held.channel[0].value;
  record.status1 = held.channel[0].status;
  record.value2 = held.channel[1].value;
  record.status2 = held.channel[1].status;
  return record;
}

}  // namespace zrm
