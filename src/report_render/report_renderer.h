#pragma once
// The configuration sheet drawn with QPainter on a printer or a PDF writer:
// landscape, the device's default paper, two framed halves with the same
// text and a vertical line between them. Each half holds the date line and
// the device line in bold Arial 12 pt and the body in Arial 8 pt, and at its
// foot the page's line about the last write, when it has one. Where Arial
// is not installed the system's substitute for it is used (a sans-serif
// face); a substitute wider than Arial shrinks a text block just enough that
// it still fits its half, so no line is ever cut off.

#include <QPagedPaintDevice>
#include <QPainter>

#include "report/configuration_page.h"

namespace zrm {

// Landscape orientation and the sheet's margins; the paper size stays the
// device's default.
void PrepareConfigurationSheet(QPagedPaintDevice& device);

// Draws `page` onto the painter's device, which PrepareConfigurationSheet
// has prepared, filling its whole printable area.
void PaintConfigurationSheet(QPainter& painter, const ConfigurationPage& page);

}  // namespace zrm
