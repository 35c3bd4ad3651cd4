#pragma once
// A window's title shown whole: window managers cut a title that does not
// fit beside their buttons ("Незаверш… ная запись").

class QWidget;

namespace zrm::gui {

// The least width at which `window` shows its title (as set now) whole, with
// room for the title bar's buttons.
int WholeTitleWidth(const QWidget& window);

}  // namespace zrm::gui
