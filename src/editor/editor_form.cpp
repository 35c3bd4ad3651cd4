#include "editor/editor_form.h"

#include "editor/item_lists.h"

namespace zrm {

RelayGrid RelayGridFixedCells() {
  RelayGrid grid;
  const auto& captions = RelayGridRowCaptions();
  for (int row = 0; row < kRelayGridRows; ++row) grid[row][0] = captions[row];
  return grid;
}

SetpointGrid SetpointGridFixedCells() {
  SetpointGrid grid;
  const auto& captions = SetpointGridCaptions();
  for (int col = 0; col < kGridColumns; ++col) grid[0][col] = captions[col];
  return grid;
}

}  // namespace zrm
