#pragma once
// The search for instruments on one port: every speed of the plan, every
// address of its range, one short probe each. An address that answers is
// confirmed by a second probe and identified with ordinary reads. The
// search shows its place on the progress panel, stops at ESC before the next
// probe, and ends when the device vanishes, keeping what it found so far.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/search_plan.h"
#include "platform/line.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// The port to search: its line and how to switch the line's speed (false
// with the reason when the device refuses it).
struct SearchLine {
  Line& line;
  std::function<bool(std::int32_t speed, std::string& reason)> set_speed;
};

// An instrument that answered, as read from it.
struct FoundInstrument {
  std::uint32_t address = 0;
  std::int32_t speed = 0;
  bool identified = false;       // the identity reads below succeeded
  std::int32_t device_type = 0;  // proc_ver
  std::uint32_t serial_number = 0;
  std::int32_t prefix = 0;  // otk_type
  std::int32_t firmware_version = 0;
  std::int32_t date_day = 0;
  std::int32_t date_month = 0;
  std::int32_t date_year = 0;  // four digits
};

// An address whose answer could not be read at that speed, and where no
// instrument was found at any speed searched: something is there, most
// likely set to another speed.
struct GarbledAnswer {
  std::uint32_t address = 0;
  std::int32_t speed = 0;
};

enum class SearchEnd {
  kCompleted,     // every probe of the plan was made
  kStopped,       // ESC
  kVanished,      // the device went away
  kSpeedRefused,  // the device would not take a speed of the plan
  kNoPort,        // the port could not be opened (reason: its path)
};

struct SearchOutcome {
  SearchEnd end = SearchEnd::kCompleted;
  std::string reason;  // with SpeedRefused: the device's reason
  std::vector<FoundInstrument> found;
  std::vector<GarbledAnswer> garbled;
};

// Runs the plan on `port`. Progress, ESC and "let messages through" go
// through `op`; nothing is shown in a box (the caller reports the outcome).
SearchOutcome SearchInstruments(SearchLine& port, const SearchPlan& plan, Operator& op);

// The record that names a found instrument (type, prefix, serial number), as
// its journal entry and its backups are named.
DeviceSettings FoundIdentity(const FoundInstrument& found);

// "Устройство пропало…", "Поиск остановлен…" and the like: the outcome's end
// in the system's words; empty for a completed search.
std::string SearchEndText(const SearchOutcome& outcome);

}  // namespace zrm
