#include "gui/bus_view/bus_view_row.h"

#include <algorithm>

#include "gui/bus_view/bus_view_texts.h"
#include "monitor/current_values.h"
#include "monitor/monitor_texts.h"
#include "platform/number_text.h"
#include "settings/instrument_identity_text.h"

namespace zrm::gui {

namespace {

constexpr std::array<BusViewColumn, 2> kValueColumn = {kValue1Column, kValue2Column};
constexpr std::array<BusViewColumn, 2> kStatusColumn = {kStatus1Column, kStatus2Column};
constexpr std::array<BusViewColumn, 2> kLampsColumn = {kLamps1Column, kLamps2Column};

// The captions of the lamps that are on, joined; bus_text::kLampsOff when none is.
std::string LampsText(std::uint8_t flags) {
  std::string text;
  auto add = [&text](const std::string& caption) { text += (text.empty() ? "" : ", ") + caption; };
  if (flags & kSetpoint1Bit) add(SetpointLampCaption(1));
  if (flags & kSetpoint2Bit) add(SetpointLampCaption(2));
  if (flags & kBreakBit) add(BreakLampCaption());
  return text.empty() ? bus_text::kLampsOff : text;
}

std::string RelaysText(std::uint8_t relay_byte) {
  std::string text;
  for (int relay = 1; relay <= 2; ++relay)
    if (relay_byte & (1 << (relay - 1)))
      text += (text.empty() ? "" : ", ") + RelayLampCaption(relay);
  return text.empty() ? bus_text::kLampsOff : text;
}

// The page's colours of a channel: white while it measures normally, grey
// when switched off, yellow on any other status.
CellTone StatusTone(std::uint8_t status) {
  if (status == 0) return CellTone::kPlain;
  return status == kChannelOffStatus ? CellTone::kOff : CellTone::kLit;
}

std::string AvailabilityText(BusAvailability availability, bool line_gone) {
  if (line_gone) return bus_text::kLineGone;
  switch (availability) {
    case BusAvailability::kOnline: return bus_text::kOnline;
    case BusAvailability::kOffline: return bus_text::kOffline;
    case BusAvailability::kUnknown: break;
  }
  return bus_text::kUnknown;
}

void FillIdentity(const BusIdentity& identity, BusViewRow& row) {
  if (!identity.known) return;
  row.cells[kTypeColumn] = DeviceTypeName(identity.device_type);
  row.cells[kSerialColumn] = SerialText(identity.prefix, identity.serial_number);
  row.cells[kFirmwareColumn] = FirmwareVersionText(identity.firmware_version);
}

void FillValues(const BusSnapshot& snapshot, BusViewRow& row) {
  if (!snapshot.has_values) return;
  for (std::size_t k = 0; k < 2; ++k) {
    const BusChannel& raw = snapshot.channel[k];
    const ChannelValues shown = ShownChannelValues(raw.value, raw.status, raw.flags);
    row.cells[kValueColumn[k]] = Format84(shown.value);
    row.cells[kStatusColumn[k]] = StatusText(shown.status);
    row.tones[kValueColumn[k]] = row.tones[kStatusColumn[k]] = StatusTone(shown.status);
    row.cells[kLampsColumn[k]] = LampsText(shown.flags);
    if (shown.flags & (kSetpoint1Bit | kSetpoint2Bit | kBreakBit))
      row.tones[kLampsColumn[k]] = CellTone::kLit;
  }
  row.cells[kRelaysColumn] = RelaysText(snapshot.relay_byte);
  if (snapshot.relay_byte & 0x03) row.tones[kRelaysColumn] = CellTone::kLit;
}

std::string TwoDigits(long long value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

std::array<std::string, kBusViewColumnCount> BusViewColumnHeads() {
  return {bus_text::kAddressColumn,     bus_text::kTypeColumn,   bus_text::kSerialColumn,
          bus_text::kFirmwareColumn,    bus_text::kValue1Column, bus_text::kStatus1Column,
          bus_text::kLamps1Column,      bus_text::kValue2Column, bus_text::kStatus2Column,
          bus_text::kLamps2Column,      bus_text::kRelaysColumn, bus_text::kSinceColumn,
          bus_text::kAvailabilityColumn};
}

BusViewRow BusViewRowOf(const BusSnapshot& snapshot, std::chrono::steady_clock::time_point now,
                        bool line_gone) {
  BusViewRow row;
  row.cells.fill(bus_text::kNothing);
  row.cells[kAddressColumn] = std::to_string(snapshot.address);
  FillIdentity(snapshot.identity, row);
  FillValues(snapshot, row);
  if (snapshot.polls_answered > 0) row.cells[kSinceColumn] = SinceText(now - snapshot.last_answer);
  row.cells[kAvailabilityColumn] = AvailabilityText(snapshot.availability, line_gone);
  row.grey = line_gone || snapshot.availability == BusAvailability::kOffline;
  return row;
}

std::string SinceText(std::chrono::steady_clock::duration since) {
  using namespace std::chrono;
  const long long seconds =
      std::max<long long>(0, duration_cast<std::chrono::seconds>(since).count());
  if (seconds < 60) return std::to_string(seconds) + bus_text::kSeconds;
  if (seconds < 3600)
    return std::to_string(seconds / 60) + bus_text::kMinutes + TwoDigits(seconds % 60) +
           bus_text::kSeconds;
  return std::to_string(seconds / 3600) + bus_text::kHours + TwoDigits(seconds / 60 % 60) +
         bus_text::kMinutesEnd;
}

}  // namespace zrm::gui
