#pragma once
// Where the window "Приборы на линии" opens: beside the main window when
// the screen has room for it there, else over the main window's pages,
// below its menu and top strip, so the commands stay in reach.

#include <QRect>
#include <QSize>

namespace zrm::gui {

// The frame of the view on `screen` (its available part), `wanted` its
// frame's size, `main` the main window's frame and `controls` what of the
// main window must stay in view (menu and top strip), all in screen
// coordinates. The view is never larger than the screen, nor, over the
// main window, taller than the room below `controls`.
QRect BusViewPlacement(const QRect& screen, const QRect& main, const QRect& controls,
                       const QSize& wanted);

}  // namespace zrm::gui
