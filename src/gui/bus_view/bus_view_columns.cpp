#include "gui/bus_view/bus_view_columns.h"

#include <algorithm>
#include <numeric>

namespace zrm::gui {

namespace {

// The columns' widths when none is wider than `cap`, nor narrower than its
// least width or its natural one, whichever is smaller.
std::vector<int> Capped(const std::vector<int>& natural, const std::vector<int>& least, int cap) {
  std::vector<int> widths(natural.size());
  for (std::size_t i = 0; i < natural.size(); ++i)
    widths[i] = std::max(std::min(cap, natural[i]), std::min(least[i], natural[i]));
  return widths;
}

long long Sum(const std::vector<int>& widths) {
  return std::accumulate(widths.begin(), widths.end(), 0LL);
}

}  // namespace

std::vector<int> FitColumnWidths(const std::vector<int>& natural, const std::vector<int>& least,
                                 int room) {
  if (Sum(natural) <= room) return natural;
  // The largest cap whose widths fit: the widest columns wrap, the narrow
  // ones keep their texts on one line.
  int fits = 0;
  int too_wide = *std::max_element(natural.begin(), natural.end());
  if (Sum(Capped(natural, least, fits)) > room) return Capped(natural, least, fits);
  while (too_wide - fits > 1) {
    const int cap = fits + (too_wide - fits) / 2;
    (Sum(Capped(natural, least, cap)) <= room ? fits : too_wide) = cap;
  }
  std::vector<int> widths = Capped(natural, least, fits);
  // What the cap leaves goes, a pixel each, to the columns it held back.
  long long left = room - Sum(widths);
  for (std::size_t i = 0; i < widths.size() && left > 0; ++i)
    if (widths[i] == fits && widths[i] < natural[i]) {
      ++widths[i];
      --left;
    }
  return widths;
}

}  // namespace zrm::gui
