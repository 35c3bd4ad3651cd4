#include "report_render/report_renderer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QString>
#include <algorithm>
#include <vector>

namespace zrm {

namespace {

constexpr double kMarginMm = 10.0;
constexpr double kGapMm = 10.0;        // between the frames; the dividing line runs in its middle
constexpr double kPaddingMm = 4.0;     // inside a frame
constexpr double kBodyOffsetMm = 2.0;  // between the device line and the body
constexpr double kPenMm = 0.3;
constexpr double kLabelPoints = 12.0;
constexpr double kBodyPoints = 8.0;
constexpr const char* kFamily = "Arial";
// A font whose text still overflows after this many reductions is used
// as it is; each reduction aims at an exact fit, so two always suffice.
constexpr int kFitAttempts = 4;

using Lines = std::vector<QString>;

QFont SheetFont(double points, bool bold) {
  QFont font(QString::fromLatin1(kFamily));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// Width and height `lines` take in `font` on `device`.
QSizeF Extent(const QFont& font, const Lines& lines, QPaintDevice* device) {
  const QFontMetricsF metrics(font, device);
  double widest = 0.0;
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  return {widest, metrics.lineSpacing() * static_cast<double>(lines.size())};
}

// `font`, or the same face made smaller until `lines` fit into `room`.
QFont Fitting(QFont font, const Lines& lines, QSizeF room, QPaintDevice* device) {
  for (int attempt = 0; attempt < kFitAttempts; ++attempt) {
    const QSizeF extent = Extent(font, lines, device);
    if (extent.width() <= room.width() && extent.height() <= room.height()) break;
    const double scale = std::min(room.width() / std::max(extent.width(), 1.0),
                                  room.height() / std::max(extent.height(), 1.0));
    font.setPointSizeF(font.pointSizeF() * scale * 0.99);
  }
  return font;
}

// The text of one half and the fonts it is drawn in.
struct HalfContent {
  Lines labels;  // date line, device line
  Lines body;
  Lines footer;  // the last write, at the frame's foot; may be none
  QFont label_font;
  QFont body_font;
  QFont footer_font;
};

// Draws `lines` from `top` down at `left`; returns the y under the last.
double DrawLines(QPainter& painter, const QFont& font, const Lines& lines, double left,
                 double top) {
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  for (const QString& line : lines) {
    painter.drawText(QPointF(left, top + metrics.ascent()), line);
    top += metrics.lineSpacing();
  }
  return top;
}

void PaintHalf(QPainter& painter, const QRectF& frame, const HalfContent& content, double mm) {
  painter.drawRect(frame);
  const QRectF inner = frame.adjusted(kPaddingMm * mm, kPaddingMm * mm, -kPaddingMm * mm,
                                      -kPaddingMm * mm);
  const double below_labels =
      DrawLines(painter, content.label_font, content.labels, inner.left(), inner.top());
  DrawLines(painter, content.body_font, content.body, inner.left(),
            below_labels + kBodyOffsetMm * mm);
  const double footer_height =
      Extent(content.footer_font, content.footer, painter.device()).height();
  DrawLines(painter, content.footer_font, content.footer, inner.left(),
            inner.bottom() - footer_height);
}

Lines ToLines(const std::vector<std::string>& texts) {
  Lines lines;
  lines.reserve(texts.size());
  for (const std::string& text : texts) lines.push_back(QString::fromStdString(text));
  return lines;
}

}  // namespace

void PrepareConfigurationSheet(QPagedPaintDevice& device) {
  device.setPageOrientation(QPageLayout::Landscape);
  device.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                        QPageLayout::Millimeter);
}

void PaintConfigurationSheet(QPainter& painter, const ConfigurationPage& page) {
  QPaintDevice* device = painter.device();
  const double mm = device->logicalDpiX() / 25.4;
  const QRectF sheet(0.0, 0.0, device->width(), device->height());
  const double half_width = (sheet.width() - kGapMm * mm) / 2.0;
  const QRectF left(sheet.left(), sheet.top(), half_width, sheet.height());
  const QRectF right(sheet.right() - half_width, sheet.top(), half_width, sheet.height());
  const QSizeF inner(half_width - 2.0 * kPaddingMm * mm, sheet.height() - 2.0 * kPaddingMm * mm);

  HalfContent content;
  content.labels = {QString::fromStdString(page.date_line),
                    QString::fromStdString(page.device_line)};
  content.body = ToLines(page.body);
  content.label_font = Fitting(SheetFont(kLabelPoints, true), content.labels,
                               QSizeF(inner.width(), inner.height() / 2.0), device);
  const double labels_height = Extent(content.label_font, content.labels, device).height();
  // The footer takes its own room at the foot: the body above it keeps its
  // place, and a long footer shrinks alone.
  if (!page.last_write_line.empty())
    content.footer = {QString::fromStdString(page.last_write_line)};
  content.footer_font = Fitting(SheetFont(kBodyPoints, false), content.footer,
                                QSizeF(inner.width(), inner.height() / 4.0), device);
  const double footer_room =
      content.footer.empty()
          ? 0.0
          : Extent(content.footer_font, content.footer, device).height() + kBodyOffsetMm * mm;
  content.body_font = Fitting(
      SheetFont(kBodyPoints, false), content.body,
      QSizeF(inner.width(), inner.height() - labels_height - kBodyOffsetMm * mm - footer_room),
      device);

  painter.save();
  painter.setPen(QPen(Qt::black, kPenMm * mm));
  painter.setBrush(Qt::NoBrush);
  PaintHalf(painter, left, content, mm);   // QRShape1 and its labels and memo
  PaintHalf(painter, right, content, mm);  // QRShape2, the copies
  const double middle = sheet.center().x();
  painter.drawLine(QPointF(middle, sheet.top()), QPointF(middle, sheet.bottom()));  // QRShape3
  painter.restore();
}

}  // namespace zrm
