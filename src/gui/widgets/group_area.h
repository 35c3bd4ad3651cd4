#pragma once
// Framed panels of the window. The four group areas (channel 1, channel 2,
// relay page, general page) show by their background whether their group
// takes part in the next transfer: white when it does, the system
// button-face colour otherwise.

#include <QFrame>
#include <QLabel>

namespace zrm::gui {

// A raised, framed panel named `name` that paints its own background.
QFrame* MakePanel(const char* name);

// Paints `area` white or in the button-face colour.
void ShowGroupArea(QWidget* area, bool white);

// True when `area` is painted white (for tests and the screenshot tool).
bool IsGroupAreaWhite(const QWidget* area);

// A plain caption label.
QLabel* MakeCaption(const char* text);

// A caption in bold, for the headings of boxes and halves.
QLabel* MakeHeading(const char* text);

}  // namespace zrm::gui
