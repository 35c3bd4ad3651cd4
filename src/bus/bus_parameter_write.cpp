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
                             BusWriteOperator& op, std::vector<WrittenParameter>& touched) {
  if (ExchangeResult r = CheckChannel(target, channel, true, true, op)) return r;
  const std::vector<WrittenParameter> changed = ChangedParameters(instrument, target);
  if (changed.empty()) return result::kOk;
  JournalLock lock;  // held until the write ended: no second program writes meanwhile
  if (ExchangeResult r = OpenJournalEntry(working_dir, instrument, target, "", op, lock))
    return r;
  std::vector<WrittenParameter> unfinished;
  const ExchangeResult r = WriteChangedSettings(link, target, changed, op, touched, unfinished);
  if (r == result::kOk) {
    CloseJournalEntry(working_dir, instrument);
    touched.clear();
  } else {
    touched.insert(touched.end(), unfinished.begin(), unfinished.end());
  }
  return r;
}

// "уставка 1 канала 1 выключена (тип 0)" for every set point type left
// prepared, joined with "; ".
std::string SwitchedOff(const std::vector<WrittenParameter>& touched) {
  std::string out;
  for (const WrittenParameter& p : touched) {
    if (p.device_byte || (p.field != ChannelField::kThType1 && p.field != ChannelField::kThType2))
      continue;
    out += (out.empty() ? "" : "; ") + std::string(bus_texts::kSetPoint) +
           (p.field == ChannelField::kThType1 ? "1" : "2") + bus_texts::kOfChannel +
           std::to_string(p.channel + 1) + bus_texts::kSwitchedOff;
  }
  return out;
}

}  // namespace

BusWriteOutcome WriteBusParameter(ParameterAccess& link, BusParameter parameter, float value,
                                  const std::string& working_dir,
                                  std::optional<BusRepair>& repair) {
  repair.reset();
  if (!std::isfinite(value)) return {result::kNotAFloat, bus_texts::kNotANumber};
  BusWriteOperator op;
  DeviceSettings instrument;
  EditorForm form;
  SelectAllGroups(instrument, form);
  if (ExchangeResult r = ReadDeviceSettings(link, instrument, op)) return OutcomeOf(r, op);
  const BusParameterPlace place = PlaceOf(parameter);
  DeviceSettings target = instrument;
  target.channel[place.channel].*ChannelParameterOf(place.field).float_field = value;
  std::vector<WrittenParameter> touched;
  BusWriteOutcome outcome =
      OutcomeOf(CheckAndWrite(link, instrument, target, place.channel, working_dir, op, touched), op);
  if (outcome.result == result::kOk || touched.empty()) return outcome;
  // The instrument holds neither the old settings nor the new: say what it
  // holds, and owe it the old ones.
  if (const std::string off = SwitchedOff(touched); !off.empty())
    outcome.message += bus_texts::kHoldsNow + off;
  repair = BusRepair{instrument, touched};
  return outcome;
}

BusWriteOutcome RepairBusWrite(ParameterAccess& link, const BusRepair& repair,
                               const std::string& working_dir) {
  BusWriteOperator op;
  JournalLock lock;
  if (ExchangeResult r = TakeJournalLock(working_dir, repair.before, op, lock))
    return OutcomeOf(r, op);
  std::vector<WrittenParameter> written;
  std::vector<WrittenParameter> unfinished;
  const ExchangeResult r =
      WriteChangedSettings(link, repair.before, repair.touched, op, written, unfinished);
  if (r == result::kOk) CloseJournalEntry(working_dir, repair.before);
  return OutcomeOf(r, op);
}

}  // namespace zrm
