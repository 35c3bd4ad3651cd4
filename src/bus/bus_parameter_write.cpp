#include "bus/bus_parameter_write.h"

#include <algorithm>
#include <cmath>

#include "app/history_recorder.h"
#include "app/write_journal.h"
#include "bus/bus_parameter.h"
#include "bus/bus_texts.h"
#include "bus/bus_write_operator.h"
#include "settings/changes_transfer.h"
#include "settings/channel_transfer.h"
#include "settings/check_channels.h"
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

// The set point type that a write of `field` prepares.
ChannelField TypeOf(ChannelField field) {
  return field == ChannelField::kTh1 || field == ChannelField::kHis1 ? ChannelField::kThType1
                                                                     : ChannelField::kThType2;
}

// Reads the parameter, its set point type and what its checks read, in the
// order of the map.
ExchangeResult ReadWhatTheWriteNeeds(ParameterAccess& link, BusParameterPlace place,
                                     DeviceSettings& instrument) {
  std::vector<ChannelField> fields = FieldsCheckedWith(place.field);
  fields.push_back(place.field);
  fields.push_back(TypeOf(place.field));
  std::sort(fields.begin(), fields.end());
  fields.erase(std::unique(fields.begin(), fields.end()), fields.end());
  for (const ChannelField f : fields)
    if (ExchangeResult r = ReadChannelParameter(link, instrument.channel[place.channel],
                                                ChannelParameterOf(f), place.channel))
      return r;
  return result::kOk;
}

ExchangeResult CheckAndWrite(ParameterAccess& link, const BusWriteTarget& where,
                             const DeviceSettings& instrument, DeviceSettings& target,
                             BusParameterPlace place, BusWriteOperator& op,
                             std::vector<WrittenParameter>& written,
                             std::vector<WrittenParameter>& unfinished, bool& sent) {
  if (ExchangeResult r = CheckChannelField(target, place.channel, place.field, op)) return r;
  const WrittenParameter parameter{place.channel, place.field, nullptr};
  if (!ParameterDiffers(parameter, instrument, target)) return result::kOk;
  const std::vector<WrittenParameter> changed = {parameter};
  JournalLock lock;  // held until the write ended: no second program writes meanwhile
  const std::vector<WrittenParameter> scope = {parameter,
                                               {place.channel, TypeOf(place.field), nullptr}};
  if (ExchangeResult r = OpenJournalEntry(where.journal, instrument, target, "", op, lock, scope))
    return r;
  sent = true;
  const ExchangeResult r = WriteChangedSettings(link, target, changed, op, written, unfinished);
  if (r == result::kOk) CloseJournalEntry(where.journal, instrument);
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

BusWriteOutcome WriteBusParameter(ParameterAccess& link, const BusWriteTarget& where,
                                  BusParameter parameter, float value,
                                  std::optional<BusRepair>& repair) {
  repair.reset();
  if (!std::isfinite(value)) return {result::kNotAFloat, bus_texts::kNotANumber};
  BusWriteOperator op;
  DeviceSettings instrument;
  instrument.general = where.identity;
  const BusParameterPlace place = PlaceOf(parameter);
  if (ExchangeResult r = ReadWhatTheWriteNeeds(link, place, instrument)) return OutcomeOf(r, op);
  DeviceSettings target = instrument;
  target.channel[place.channel].*ChannelParameterOf(place.field).float_field = value;
  std::vector<WrittenParameter> written;
  std::vector<WrittenParameter> unfinished;
  bool sent = false;
  BusWriteOutcome outcome = OutcomeOf(
      CheckAndWrite(link, where, instrument, target, place, op, written, unfinished, sent), op);
  outcome.sent = sent;
  outcome.changes = ChangesOfParameters(instrument, target, written);
  if (outcome.result == result::kOk) return outcome;
  std::vector<WrittenParameter> touched = written;
  touched.insert(touched.end(), unfinished.begin(), unfinished.end());
  if (touched.empty()) return outcome;
  // The instrument holds neither the old settings nor the new: say what it
  // holds, and owe it the old ones.
  if (const std::string off = SwitchedOff(touched); !off.empty())
    outcome.message += bus_texts::kHoldsNow + off;
  repair = BusRepair{instrument, target, touched};
  return outcome;
}

BusWriteOutcome RepairBusWrite(ParameterAccess& link, const BusWriteTarget& where,
                               const BusRepair& repair) {
  BusWriteOperator op;
  JournalLock lock;
  if (ExchangeResult r = TakeJournalLock(where.journal, repair.before, op, lock))
    return OutcomeOf(r, op);
  std::vector<WrittenParameter> written;
  std::vector<WrittenParameter> unfinished;
  const ExchangeResult r =
      WriteChangedSettings(link, repair.before, repair.touched, op, written, unfinished);
  if (r == result::kOk) CloseJournalEntry(where.journal, repair.before);
  BusWriteOutcome outcome = OutcomeOf(r, op);
  outcome.changes = ChangesOfParameters(repair.meant, repair.before, written);
  return outcome;
}

}  // namespace zrm
