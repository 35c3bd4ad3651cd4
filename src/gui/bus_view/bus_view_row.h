#pragma once
// One instrument of the window "Приборы на линии" as its table row shows
// it: the texts of every column and how each cell is coloured. Qt-free, so
// the rows are tested from hand-made snapshots.

#include <array>
#include <chrono>
#include <string>

#include "bus/bus_snapshot.h"

namespace zrm::gui {

enum BusViewColumn {
  kAddressColumn,
  kTypeColumn,
  kSerialColumn,
  kFirmwareColumn,
  kValue1Column,
  kStatus1Column,
  kLamps1Column,
  kValue2Column,
  kStatus2Column,
  kLamps2Column,
  kRelaysColumn,
  kSinceColumn,
  kAvailabilityColumn,
  kBusViewColumnCount
};

// A cell's colour as the page "Текущие значения" gives it: plain, yellow
// (a lamp on, a channel in trouble) or grey (a switched-off channel).
enum class CellTone { kPlain, kLit, kOff };

struct BusViewRow {
  std::array<std::string, kBusViewColumnCount> cells;
  std::array<CellTone, kBusViewColumnCount> tones{};
  bool grey = false;  // offline: the last values, greyed
};

// The column heads, in column order.
std::array<std::string, kBusViewColumnCount> BusViewColumnHeads();

// The row of `snapshot` at steady time `now`. `line_gone`: the line's device
// has vanished, which the availability says.
BusViewRow BusViewRowOf(const BusSnapshot& snapshot, std::chrono::steady_clock::time_point now,
                        bool line_gone = false);

// "12 с", "3 мин 05 с", "2 ч 03 мин": whole seconds, never negative.
std::string SinceText(std::chrono::steady_clock::duration since);

}  // namespace zrm::gui
