#include "app/instrument_search.h"

#include <algorithm>
#include <chrono>

#include "app/app_texts.h"
#include "app/instrument_probe.h"
#include "link/link.h"
#include "settings/device_byte_transfer.h"
#include "settings/parameter_map.h"

namespace zrm {

namespace {

// Identity reads go through the ordinary link: a found instrument answers
// at once, so its one-second minimum wait costs nothing.
constexpr std::uint32_t kIdentifyAttempts = 2;

ProgressLines SearchProgress(std::int32_t speed, std::uint32_t address, const SearchPlan& plan,
                             std::size_t found) {
  return {app_texts::kSearchTitle,
          app_texts::kSearchSpeed + std::to_string(speed),
          app_texts::kSearchAddress + std::to_string(address) + " (" +
              std::to_string(plan.first_address) + "-" + std::to_string(plan.last_address) + ")",
          app_texts::kSearchFound + std::to_string(found),
          "",
          app_texts::kSearchEscHint};
}

// Device type, serial number with its prefix and the manufacturing date;
// false when a read failed.
bool ReadFoundIdentity(Line& line, FoundInstrument& found) {
  Link link(line, LinkParams{found.address, kIdentifyAttempts, 0, found.speed}, nullptr);
  DeviceSettings s;
  const DeviceByteParameter& type = kGeneralParameters[1];
  if (ReadDeviceByte(link, s, type) != result::kOk) return false;
  for (const DeviceByteParameter& p : kSerialNumberParameters)
    if (ReadDeviceByte(link, s, p) != result::kOk) return false;
  for (const DeviceByteParameter& p : kManufacturingDateParameters)
    if (ReadDeviceByte(link, s, p) != result::kOk) return false;
  found.identified = true;
  found.device_type = s.general.proc_ver;
  found.serial_number = SerialNumber(s.general);
  found.prefix = s.general.otk_type;
  found.date_day = s.general.date_day;
  found.date_month = s.general.date_month;
  found.date_year = s.general.date_year;
  return true;
}

// One probe, made once more at the same speed when it heard garbage: a
// reply disturbed once (a loaded machine, a noisy line) is no instrument at
// another speed. Garbage followed by silence stays garbage.
ProbeResult ProbeTwiceOnGarbage(Line& line, std::uint32_t address,
                                std::chrono::microseconds window) {
  const ProbeResult first = Probe(line, address, window);
  if (first.answer != ProbeAnswer::kGarbled) return first;
  const ProbeResult again = Probe(line, address, window);
  return again.answer == ProbeAnswer::kSilent ? first : again;
}

// Probes one address; false when the search must end (the device vanished).
bool SearchAddress(Line& line, std::int32_t speed, std::uint32_t address, const SearchPlan& plan,
                   SearchOutcome& outcome) {
  const auto window = ProbeWindow(speed, address, plan.margin_ms);
  const ProbeResult first = ProbeTwiceOnGarbage(line, address, window);
  if (first.answer == ProbeAnswer::kGone) return false;
  if (first.answer == ProbeAnswer::kSilent) return true;
  const ProbeResult second =
      first.answer == ProbeAnswer::kReply ? ProbeTwiceOnGarbage(line, address, window) : first;
  if (second.answer == ProbeAnswer::kGone) return false;
  if (second.answer != ProbeAnswer::kReply || second.firmware_version != first.firmware_version) {
    outcome.garbled.push_back({address, speed});
    return true;
  }
  FoundInstrument found;
  found.address = address;
  found.speed = speed;
  found.firmware_version = second.firmware_version;
  if (!ReadFoundIdentity(line, found) && !line.IsOpen()) return false;
  outcome.found.push_back(found);
  return true;
}

// Garbage from an address where an instrument was found at its own speed is
// that instrument heard at the wrong speed: nothing more to report.
void DropExplainedGarbage(SearchOutcome& outcome) {
  std::erase_if(outcome.garbled, [&](const GarbledAnswer& g) {
    return std::any_of(outcome.found.begin(), outcome.found.end(),
                       [&](const FoundInstrument& f) { return f.address == g.address; });
  });
}

}  // namespace

SearchOutcome SearchInstruments(SearchLine& port, const SearchPlan& plan, Operator& op) {
  SearchOutcome outcome;
  op.ShowProgress();
  for (const std::int32_t speed : plan.speeds) {
    if (!port.set_speed(speed, outcome.reason)) {
      outcome.end = port.line.IsOpen() ? SearchEnd::kSpeedRefused : SearchEnd::kVanished;
      break;
    }
    for (std::uint32_t address = plan.first_address; address <= plan.last_address; ++address) {
      if (op.EscPressed()) outcome.end = SearchEnd::kStopped;
      if (outcome.end != SearchEnd::kCompleted) break;
      op.SetProgressLines(SearchProgress(speed, address, plan, outcome.found.size()));
      op.LetMessagesThrough();
      if (!SearchAddress(port.line, speed, address, plan, outcome))
        outcome.end = SearchEnd::kVanished;
    }
    if (outcome.end != SearchEnd::kCompleted) break;
  }
  op.HideProgress();
  DropExplainedGarbage(outcome);
  return outcome;
}

DeviceSettings FoundIdentity(const FoundInstrument& found) {
  DeviceSettings s;
  s.general.proc_ver = found.device_type;
  s.general.otk_type = found.prefix;
  s.general.serial_lo = static_cast<std::int32_t>(found.serial_number % 256u);
  s.general.serial_hi = static_cast<std::int32_t>(found.serial_number / 256u);
  return s;
}

std::string SearchEndText(const SearchOutcome& outcome) {
  switch (outcome.end) {
    case SearchEnd::kCompleted: return "";
    case SearchEnd::kStopped: return app_texts::kSearchStopped;
    case SearchEnd::kVanished: return app_texts::kSearchVanished;
    case SearchEnd::kSpeedRefused: return app_texts::kSearchSpeedRefused + outcome.reason;
    case SearchEnd::kNoPort: return app_texts::kSearchNoPort + outcome.reason;
  }
  return "";
}

}  // namespace zrm
