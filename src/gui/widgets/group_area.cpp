#include "gui/widgets/group_area.h"

#include <QApplication>
#include <QPalette>

#include "gui/texts/qt_text.h"

namespace zrm::gui {

QFrame* MakePanel(const char* name) {
  auto* panel = new QFrame;
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(1);
  panel->setAutoFillBackground(true);
  return panel;
}

void ShowGroupArea(QWidget* area, bool white) {
  QPalette palette = area->palette();
  const QColor face = QApplication::palette().color(QPalette::Button);
  palette.setColor(QPalette::Window, white ? QColor(Qt::white) : face);
  area->setPalette(palette);
  area->setAutoFillBackground(true);
}

bool IsGroupAreaWhite(const QWidget* area) {
  return area->palette().color(QPalette::Window) == QColor(Qt::white);
}

QLabel* MakeCaption(const char* text) { return new QLabel(ToQ(text)); }

QLabel* MakeHeading(const char* text) {
  QLabel* label = MakeCaption(text);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace zrm::gui
