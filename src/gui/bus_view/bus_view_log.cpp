#include "gui/bus_view/bus_view_log.h"

#include "monitor/current_values.h"
#include "settings/instrument_identity_text.h"

namespace zrm::gui {

std::string InstrumentLogName(const BusIdentity& identity) {
  return "IZM-" + SerialText(identity.prefix, identity.serial_number) + ".txt";
}

MeasurementRecord BusMeasurementOf(const BusSnapshot& snapshot) {
  MeasurementRecord record;
  record.wait_start = LocalTimeOfDay(snapshot.last_answer_wall);
  record.relay_byte = snapshot.relay_byte;
  const std::array<ChannelValues, 2> shown = {
      ShownChannelValues(snapshot.channel[0].value, snapshot.channel[0].status,
                         snapshot.channel[0].flags),
      ShownChannelValues(snapshot.channel[1].value, snapshot.channel[1].status,
                         snapshot.channel[1].flags)};
  record.value1 = shown[0].value;
  record.status1 = shown[0].status;
  record.value2 = shown[1].value;
  record.status2 = shown[1].status;
  return record;
}

ExchangeResult LogInstrumentMeasurement(const std::string& dir, const BusSnapshot& snapshot) {
  if (!snapshot.identity.known) return result::kOk;
  return LogMeasurement(dir + "/" + InstrumentLogName(snapshot.identity),
                        BusMeasurementOf(snapshot));
}

}  // namespace zrm::gui
