#include "editor/relay_grid.h"

#include <cstdint>

namespace zrm {

namespace {

constexpr int kFirstEventColumn = 1;
constexpr int kLastEventColumn = 10;
constexpr int kFirstRelayRow = 1;
constexpr int kLastRelayRow = 2;

constexpr const char* kShownMark = " *";
constexpr const char* kClickedMark = " +";

// Which mask word and bit an event column stands for.
struct EventBit {
  bool second_word;  // msk1 (channel 2 events) instead of msk0
  std::int32_t bit;
};

constexpr EventBit kColumnBits[kGridColumns] = {
    {false, 0},     // column 0: relay captions
    {false, 0x01},  {false, 0x02}, {false, 0x04},  // channel 1
    {true, 0x01},   {true, 0x02},  {true, 0x04},   // channel 2
    {false, 0x08},  {false, 0x10}, {false, 0x20}, {false, 0x40},  // regulator
};

bool IsEventCell(int col, int row) {
  return col >= kFirstEventColumn && col <= kLastEventColumn && row >= kFirstRelayRow &&
         row <= kLastRelayRow;
}

std::int32_t& MaskOf(RelaySettings& relay, int row, bool second_word) {
  if (row == 1) return second_word ? relay.rel0_msk1 : relay.rel0_msk0;
  return second_word ? relay.rel1_msk1 : relay.rel1_msk0;
}

std::int32_t MaskOf(const RelaySettings& relay, int row, bool second_word) {
  if (row == 1) return second_word ? relay.rel0_msk1 : relay.rel0_msk0;
  return second_word ? relay.rel1_msk1 : relay.rel1_msk0;
}

}  // namespace

bool IsRelayCellMarked(const RelayGrid& grid, int col, int row) {
  return IsEventCell(col, row) && !grid[row][col].empty();
}

void MasksToRelayGrid(const RelaySettings& relay, RelayGrid& grid) {
  for (int row = kFirstRelayRow; row <= kLastRelayRow; ++row) {
    for (int col = kFirstEventColumn; col <= kLastEventColumn; ++col) {
      const EventBit& event = kColumnBits[col];
      bool set = (MaskOf(relay, row, event.second_word) & event.bit) != 0;
      grid[row][col] = set ? kShownMark : "";
    }
  }
}

void RelayGridToMasks(const RelayGrid& grid, RelaySettings& relay) {
  relay.rel0_msk0 = 0;
  relay.rel0_msk1 = 0;
  relay.rel1_msk0 = 0;
  relay.rel1_msk1 = 0;
  for (int row = kFirstRelayRow; row <= kLastRelayRow; ++row) {
    for (int col = kFirstEventColumn; col <= kLastEventColumn; ++col) {
      if (!IsRelayCellMarked(grid, col, row)) continue;
      const EventBit& event = kColumnBits[col];
      MaskOf(relay, row, event.second_word) |= event.bit;
    }
  }
}

void ToggleRelayCell(EditorForm& form, int col, int row) {
  if (!IsEventCell(col, row)) return;
  std::string& cell = form.relay_grid[row][col];
  cell = cell.empty() ? kClickedMark : "";
}

}  // namespace zrm
