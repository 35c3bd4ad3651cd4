#pragma once
// The widths of the columns of "Приборы на линии" in the room the window
// has: every column stays in view, the ones whose texts can wrap (words)
// giving up width first, so a long relay or status text never pushes
// "Связь" out of sight.

#include <vector>

namespace zrm::gui {

// The width of each column in `room` pixels, given each column's `natural`
// width (its texts on one line) and its `least` one (its longest word): the
// natural widths when they fit; else the widest columns are brought down to
// one common width, none below its least width, so the widths fill `room`;
// the least widths when even they do not fit. Both lists are as long as
// there are columns, and not empty.
std::vector<int> FitColumnWidths(const std::vector<int>& natural, const std::vector<int>& least,
                                 int room);

}  // namespace zrm::gui
