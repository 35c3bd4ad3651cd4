#include "gui/dialogs/whole_title.h"

#include <QFont>
#include <QFontMetrics>
#include <QWidget>

namespace zrm::gui {

namespace {

// Window managers draw titles larger and bold, beside an icon and three
// buttons: the title is measured that way and the room for those added.
constexpr double kTitleFontScale = 1.25;
constexpr int kTitleBarButtons = 160;

}  // namespace

int WholeTitleWidth(const QWidget& window) {
  QFont title_font = window.font();
  title_font.setBold(true);
  if (title_font.pointSizeF() > 0)
    title_font.setPointSizeF(title_font.pointSizeF() * kTitleFontScale);
  else
    title_font.setPixelSize(static_cast<int>(title_font.pixelSize() * kTitleFontScale));
  return QFontMetrics(title_font).horizontalAdvance(window.windowTitle()) + kTitleBarButtons;
}

}  // namespace zrm::gui
