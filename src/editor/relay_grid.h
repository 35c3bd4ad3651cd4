#pragma once
// The relay assignment grid StringGrid1 and the four relay event masks.
// Row 1 is relay 1 (rel0_msk0 / rel0_msk1), row 2 relay 2 (rel1_msk0 /
// rel1_msk1); columns 1..10 are the events:
//   1..3  set point I, set point II, sensor break of channel 1 (first word)
//   4..6  the same of channel 2 (second word)
//   7..10 regulator "Закр.", "Откр.", "Напр.", "Импульс" (first word)

#include "editor/editor_form.h"
#include "settings/device_settings.h"

namespace zrm {

// True when the cell carries a mark (any text, " *" or " +").
bool IsRelayCellMarked(const RelayGrid& grid, int col, int row);

// Writes " *" into the 20 event cells whose mask bit is set and empties the
// others; bits without a cell are not shown.
void MasksToRelayGrid(const RelaySettings& relay, RelayGrid& grid);

// Rebuilds all four masks from the marks: bits without a cell become 0.
void RelayGridToMasks(const RelayGrid& grid, RelaySettings& relay);

// A click on cell (col, row) of the relay grid (StringGrid1): toggles the mark of an event
// cell (empty becomes " +", marked becomes empty); the caption row and
// column and cells outside the grid are left alone. The masks follow at the
// next EditorToSettings.
void ToggleRelayCell(EditorForm& form, int col, int row);

}  // namespace zrm
