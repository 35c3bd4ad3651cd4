#include "editor/relay_grid.h"

#include <gtest/gtest.h>

#include "editor/editor_binding.h"
#include "settings/sample_record.h"
#include "support/recording_operator.h"

namespace zrm {
namespace {

TEST(RelayGridTest, EveryColumnMapsToItsBit) {
  struct Cell {
    int col;
    std::int32_t RelaySettings::*mask;
    std::int32_t bit;
  };
  const Cell cells[] = {
      {1, &RelaySettings::rel0_msk0, 0x01}, {2, &RelaySettings::rel0_msk0, 0x02},
      {3, &RelaySettings::rel0_msk0, 0x04}, {4, &RelaySettings::rel0_msk1, 0x01},
      {5, &RelaySettings::rel0_msk1, 0x02}, {6, &RelaySettings::rel0_msk1, 0x04},
      {7, &RelaySettings::rel0_msk0, 0x08}, {8, &RelaySettings::rel0_msk0, 0x10},
      {9, &RelaySettings::rel0_msk0, 0x20}, {10, &RelaySettings::rel0_msk0, 0x40},
  };
  for (const Cell& c : cells) {
    RelayGrid grid = RelayGridFixedCells();
    grid[1][c.col] = " +";
    RelaySettings relay;
    RelayGridToMasks(grid, relay);
    EXPECT_EQ(relay.*c.mask, c.bit) << c.col;
    EXPECT_EQ(relay.rel0_msk0 | relay.rel0_msk1, c.bit) << c.col;
    EXPECT_EQ(relay.rel1_msk0 | relay.rel1_msk1, 0) << c.col;
  }
}

TEST(RelayGridTest, MasksShowAsStarsAndUnknownBitsAreDropped) {
  RelaySettings relay;
  relay.rel0_msk0 = 0x181;  // bits 7 and 8 have no cell
  relay.rel0_msk1 = 0x06;
  relay.rel1_msk0 = 0x48;
  relay.rel1_msk1 = static_cast<std::int32_t>(0x80000001u);
  RelayGrid grid = RelayGridFixedCells();
  grid[2][3] = " +";  // an old mark is cleared
  MasksToRelayGrid(relay, grid);
  EXPECT_EQ(grid[1][1], " *");
  EXPECT_EQ(grid[1][2], "");
  EXPECT_EQ(grid[1][5], " *");
  EXPECT_EQ(grid[1][6], " *");
  EXPECT_EQ(grid[2][3], "");
  EXPECT_EQ(grid[2][4], " *");
  EXPECT_EQ(grid[2][7], " *");
  EXPECT_EQ(grid[2][10], " *");
  EXPECT_EQ(grid[0][0], "Реле");
  EXPECT_EQ(grid[1][0], "    1");

  RelaySettings collected;
  collected.rel0_msk0 = 0x7FFF;
  RelayGridToMasks(grid, collected);
  EXPECT_EQ(collected.rel0_msk0, 0x01);
  EXPECT_EQ(collected.rel0_msk1, 0x06);
  EXPECT_EQ(collected.rel1_msk0, 0x48);
  EXPECT_EQ(collected.rel1_msk1, 0x01);
}

TEST(RelayGridTest, ClicksToggleEventCellsOnly) {
  EditorForm form;
  ToggleRelayCell(form, 3, 2);
  EXPECT_EQ(form.relay_grid[2][3], " +");
  ToggleRelayCell(form, 3, 2);
  EXPECT_EQ(form.relay_grid[2][3], "");

  form.relay_grid[1][7] = " *";  // a mark shown from the record
  ToggleRelayCell(form, 7, 1);
  EXPECT_EQ(form.relay_grid[1][7], "");
  ToggleRelayCell(form, 7, 1);
  EXPECT_TRUE(IsRelayCellMarked(form.relay_grid, 7, 1));

  const RelayGrid before = form.relay_grid;
  for (auto [col, row] : {std::pair{0, 1}, {0, 2}, {1, 0}, {4, 0}, {11, 1}, {5, 3}, {-1, 1},
                          {2, -1}, {0, 0}}) {
    ToggleRelayCell(form, col, row);
  }
  EXPECT_EQ(form.relay_grid, before);
}

TEST(RelayGridTest, ClickChangesTheMaskAtTheNextCollection) {
  DeviceSettings s = test::SampleRecord();
  EditorForm form;
  SettingsToEditor(s, form, 1);
  ToggleRelayCell(form, 10, 2);
  EXPECT_EQ(s.relay.rel1_msk0, 0);
  test::RecordingOperator op;
  EditorToSettings(form, s, op);
  EXPECT_EQ(s.relay.rel1_msk0, 0x40);
  EXPECT_EQ(s.relay.rel0_msk0, 0x01);
}

}  // namespace
}  // namespace zrm
