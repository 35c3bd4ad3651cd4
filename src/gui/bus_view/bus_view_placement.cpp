#include "gui/bus_view/bus_view_placement.h"

#include <algorithm>

namespace zrm::gui {

QRect BusViewPlacement(const QRect& screen, const QRect& main, const QRect& controls,
                       const QSize& wanted) {
  const QSize size = wanted.boundedTo(screen.size());
  const int top = std::clamp(main.top(), screen.top(), screen.bottom() + 1 - size.height());
  if (screen.right() - main.right() >= size.width())
    return QRect(QPoint(main.right() + 1, top), size);
  if (main.left() - screen.left() >= size.width())
    return QRect(QPoint(main.left() - size.width(), top), size);
  // Over the pages: as far left as the main window, as far as the screen allows.
  const int left = std::clamp(main.left(), screen.left(), screen.right() + 1 - size.width());
  const int below = std::min(controls.bottom() + 1, screen.bottom());
  const int height = std::min(size.height(), screen.bottom() + 1 - below);
  return QRect(left, below, size.width(), height);
}

}  // namespace zrm::gui
