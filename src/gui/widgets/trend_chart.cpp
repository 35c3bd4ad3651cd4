#include "gui/widgets/trend_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

const std::array<QColor, 2> kChannelColours = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28)};
const std::array<QColor, 2> kRelayColours = {QColor(255, 200, 0, 80), QColor(60, 170, 60, 60)};
// Relay 1 shades the upper half of the plot, relay 2 the lower half.
constexpr std::array<qreal, 2> kBandBase = {0.5, 0.0};
constexpr qreal kBandHeight = 0.5;
constexpr QSize kPreferredSize(760, 170);
constexpr qint64 kShortestSpanMs = 60 * 1000;
constexpr qreal kShortestValueSpan = 1.0;
// The value axes before anything is shown: a plain scale, not a sliver round 0.
constexpr qreal kEmptyLow = 0.0;
constexpr qreal kEmptyHigh = 10.0;

QLineSeries* MakeLine(const QColor& colour, Qt::PenStyle style, qreal width) {
  auto* series = new QLineSeries;
  QPen pen(colour);
  pen.setStyle(style);
  pen.setWidthF(width);
  series->setPen(pen);
  return series;
}

QFont SmallFont(const QWidget* widget) {
  QFont font = widget->font();
  font.setPointSizeF(font.pointSizeF() * 0.85);
  return font;
}

}  // namespace

TrendChart::TrendChart(QWidget* parent)
    // The chart goes in through the constructor: a view made without one
    // creates a default chart, which setChart() would release unowned.
    : QChartView(new QChart, parent), clock_zero_(QDateTime::currentDateTime()) {
  setObjectName("TrendChart");
  setRenderHint(QPainter::Antialiasing);
  QChart* chart = this->chart();
  // Every pixel of height goes to the plot: no margins, the legend beside it.
  chart->setMargins(QMargins(0, 0, 0, 0));
  chart->layout()->setContentsMargins(0, 0, 0, 0);
  chart->setBackgroundRoundness(0);
  chart->legend()->setAlignment(Qt::AlignRight);
  chart->legend()->setFont(SmallFont(this));

  time_axis_ = new QDateTimeAxis;
  time_axis_->setFormat("hh:mm:ss");
  time_axis_->setTickCount(6);
  time_axis_->setLabelsFont(SmallFont(this));
  for (std::size_t k = 0; k < 2; ++k) {
    value_axis_[k] = new QValueAxis;
    value_axis_[k]->setLabelsFont(SmallFont(this));
    value_axis_[k]->setLabelsColor(kChannelColours[k]);
    value_axis_[k]->setLabelFormat("%.1f");
  }
  value_axis_[1]->setGridLineVisible(false);
  band_axis_ = new QValueAxis;
  band_axis_->setRange(0, 1);
  band_axis_->setVisible(false);
  chart->addAxis(time_axis_, Qt::AlignBottom);
  chart->addAxis(value_axis_[0], Qt::AlignLeft);
  chart->addAxis(value_axis_[1], Qt::AlignRight);
  chart->addAxis(band_axis_, Qt::AlignRight);
  BuildSeries();
  Redraw();
}

void TrendChart::BuildSeries() {
  QChart* chart = this->chart();
  const char* const relay_names[2] = {text::kRelay1, text::kRelay2};
  for (std::size_t k = 0; k < 2; ++k) {
    RelayBand& band = relay_[k];
    band.upper = new QLineSeries(chart);
    band.lower = new QLineSeries(chart);
    band.area = new QAreaSeries(band.upper, band.lower);
    band.area->setName(ToQ(relay_names[k]));
    band.area->setBrush(kRelayColours[k]);
    band.area->setPen(Qt::NoPen);
    chart->addSeries(band.area);
    band.area->attachAxis(time_axis_);
    band.area->attachAxis(band_axis_);
  }
  const char* const channel_names[2] = {text::kChannel1, text::kChannel2};
  for (std::size_t k = 0; k < 2; ++k) {
    ChannelSeries& series = channel_[k];
    series.setpoint1 = MakeLine(kChannelColours[k], Qt::DashLine, 1.0);
    series.setpoint2 = MakeLine(kChannelColours[k], Qt::DotLine, 1.0);
    series.value = MakeLine(kChannelColours[k], Qt::SolidLine, 2.0);
    series.setpoint1->setObjectName(QString("Setpoint1Channel%1").arg(k + 1));
    series.setpoint2->setObjectName(QString("Setpoint2Channel%1").arg(k + 1));
    series.setpoint1->setName(ToQ(text::kSetpoint1));
    series.setpoint2->setName(ToQ(text::kSetpoint2));
    series.value->setName(ToQ(channel_names[k]));
    for (QLineSeries* line : {series.setpoint1, series.setpoint2, series.value}) {
      chart->addSeries(line);
      line->attachAxis(time_axis_);
      line->attachAxis(value_axis_[k]);
    }
    // The set point lines explain themselves by their channel's colour; the
    // legend keeps to the values and the relays.
    for (QLegendMarker* marker : chart->legend()->markers(series.setpoint1))
      marker->setVisible(false);
    for (QLegendMarker* marker : chart->legend()->markers(series.setpoint2))
      marker->setVisible(false);
  }
}

QSize TrendChart::sizeHint() const { return kPreferredSize; }

void TrendChart::SetClockZero(const QDateTime& clock_zero) {
  clock_zero_ = clock_zero;
  Redraw();
}

void TrendChart::Show(std::vector<TrendSample> samples) {
  if (paused_) return;
  shown_ = std::move(samples);
  Redraw();
}

void TrendChart::SetSetpointsOn(const std::array<std::array<bool, 2>, 2>& on) {
  if (setpoints_on_ == on) return;
  setpoints_on_ = on;
  if (!paused_) Redraw();
}

void TrendChart::SetPaused(bool paused) { paused_ = paused; }

qreal TrendChart::TimeOf(const TrendSample& sample) const {
  return static_cast<qreal>(clock_zero_.toMSecsSinceEpoch() + sample.elapsed_ms);
}

void TrendChart::Redraw() {
  for (std::size_t k = 0; k < 2; ++k) {
    QList<QPointF> setpoints1, setpoints2, band, floor;
    const std::uint8_t relay_bit = static_cast<std::uint8_t>(1u << k);
    for (std::size_t i = 0; i < shown_.size(); ++i) {
      const TrendSample& sample = shown_[i];
      const qreal x = TimeOf(sample);
      // A set point switched off, or left without a number, is not drawn.
      if (Drawn(k, 0, sample.setpoint1[k])) setpoints1.append({x, sample.setpoint1[k]});
      if (Drawn(k, 1, sample.setpoint2[k])) setpoints2.append({x, sample.setpoint2[k]});
      // The band steps: a relay state holds until the next sample.
      const qreal y = kBandBase[k] + ((sample.relay_byte & relay_bit) != 0 ? kBandHeight : 0.0);
      if (sample.after_gap && !band.isEmpty()) {
        // No relay state is known across an outage: the band drops for it.
        band.append({band.last().x(), kBandBase[k]});
        band.append({x, kBandBase[k]});
      }
      if (!band.isEmpty() && band.last().y() != y) band.append({x, band.last().y()});
      band.append({x, y});
    }
    if (!shown_.empty()) {
      floor = {{TimeOf(shown_.front()), kBandBase[k]}, {TimeOf(shown_.back()), kBandBase[k]}};
    }
    DrawValues(k);
    channel_[k].setpoint1->replace(setpoints1);
    channel_[k].setpoint2->replace(setpoints2);
    relay_[k].upper->replace(band);
    relay_[k].lower->replace(floor);
  }
  FitAxes();
}

void TrendChart::DrawValues(std::size_t k) {
  std::vector<QList<QPointF>> stretches(1);
  for (const TrendSample& sample : shown_) {
    if (sample.after_gap && !stretches.back().isEmpty()) stretches.emplace_back();
    stretches.back().append({TimeOf(sample), sample.value[k]});
  }
  const std::size_t drawn = std::max(stretches.size(), channel_[k].later_values.size() + 1);
  for (std::size_t i = 0; i < drawn; ++i)
    ValueStretch(k, i)->replace(i < stretches.size() ? stretches[i] : QList<QPointF>());
}

QLineSeries* TrendChart::ValueStretch(std::size_t k, std::size_t stretch) {
  ChannelSeries& series = channel_[k];
  if (stretch == 0) return series.value;
  while (series.later_values.size() < stretch) {
    QLineSeries* line = MakeLine(kChannelColours[k], Qt::SolidLine, 2.0);
    chart()->addSeries(line);
    line->attachAxis(time_axis_);
    line->attachAxis(value_axis_[k]);
    for (QLegendMarker* marker : chart()->legend()->markers(line)) marker->setVisible(false);
    series.later_values.push_back(line);
  }
  return series.later_values[stretch - 1];
}

void TrendChart::FitAxes() {
  const qint64 zero = clock_zero_.toMSecsSinceEpoch();
  const qint64 first = shown_.empty() ? 0 : shown_.front().elapsed_ms;
  const qint64 last = shown_.empty() ? 0 : shown_.back().elapsed_ms;
  // At least a minute wide, so the first samples do not fill the whole plot.
  const qint64 end = std::max(last, first + kShortestSpanMs);
  time_axis_->setRange(QDateTime::fromMSecsSinceEpoch(zero + first),
                       QDateTime::fromMSecsSinceEpoch(zero + end));

  FitValueAxis(0);
  FitValueAxis(1);
}

bool TrendChart::Drawn(std::size_t k, std::size_t setpoint, float value) const {
  return setpoints_on_[k][setpoint] && std::isfinite(value);
}

void TrendChart::FitValueAxis(std::size_t k) {
  // The axis holds every value and set point drawn for the channel, with a
  // margin, and is at least the shortest span wide, centred on them.
  qreal low = std::numeric_limits<qreal>::infinity();
  qreal high = -low;
  auto take = [&low, &high](float v) {
    low = std::min<qreal>(low, v);
    high = std::max<qreal>(high, v);
  };
  for (const TrendSample& s : shown_) {
    if (std::isfinite(s.value[k])) take(s.value[k]);
    if (Drawn(k, 0, s.setpoint1[k])) take(s.setpoint1[k]);
    if (Drawn(k, 1, s.setpoint2[k])) take(s.setpoint2[k]);
  }
  if (low > high) {
    value_axis_[k]->setRange(kEmptyLow, kEmptyHigh);
    return;
  }
  const qreal middle = (low + high) / 2;
  const qreal half = std::max<qreal>(high - low, kShortestValueSpan) * 1.16 / 2;
  value_axis_[k]->setRange(middle - half, middle + half);
}

}  // namespace zrm::gui
