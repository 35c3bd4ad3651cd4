#include "bus/bus_parameter_write.h"

#include <cmath>

#include "app/write_journal.h"
#include "bus/bus_parameter.h"
#include "bus/bus_texts.h"
#include "bus/bus_write_operator.h"
#include "editor/group_switches.h"
#include "settings/changes_transfer.h"
#include "settings/check_channels.h"
#include "settings/device_transfer.h"
#include "settings/written_parameters.h"

namespace zrm {

namespace {

// The outcome of `r`: the operator's words when it said something, else the
// result's own message.
BusWriteOutcome OutcomeOf(ExchangeResult r, const BusWriteOperator& op) {
  if (r == result::kOk) return {};
  if (!op.FirstText().empty()) return {r, op.FirstText()};
  ResultMessage message;
  return {r, ExchangeResultMessage(r, message) ? message.text : std::string()};
}

ExchangeResult CheckAndWrite(ParameterAccess& link, const DeviceSettings& instrument,
                             DeviceSettings& target, int channel, const std::string& working_dir,
                             BusWriteOperator& op) {
  if (ExchangeResult r = CheckChannel(target, channel, true, true, op)) return r;
  const std::vector<WrittenParameter> changed = ChangedParameters(instrument, target);
  if (changed.empty()) return result::kOk;
  if (ExchangeResult r = OpenJournalEntry(working_dir, instrument, target, "", op)) return r;
  std::vector<WrittenParameter> written;
  std::vector<WrittenParameter> unfinished;
  const ExchangeResult r = WriteChangedSettings(link, target, changed, op, written, unfinished);
  if (r == result::kOk) CloseJournalEntry(working_dir, instrument);
  return r;
}

}  // namespace

BusWriteOutcome WriteBusParameter(ParameterAccess& link, BusParameter parameter, float value,
                                  const std::string& working_dir) {
  if (!std::isfinite(value)) return {result::kNotAFloat, bus_texts::kNotANumber};
  BusWriteOperator op;
  DeviceSettings instrument;
  EditorForm form;
  SelectAllGroups(instrument, form);
  if (ExchangeResult r = ReadDeviceSettings(link, instrument, op)) return OutcomeOf(r, op);
  const BusParameterPlace place = PlaceOf(parameter);
  DeviceSettings target = instrument;
  target.channel[place.channel].*ChannelParameterOf(place.field).float_field = value;
  return OutcomeOf(CheckAndWrite(link, instrument, target, place.channel, working_dir, op), op);
}

}  // namespace zrm
