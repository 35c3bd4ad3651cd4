#pragma once
// The live trend of the page "Текущие значения": both channels' values over
// the kept history, each on its own value axis in its colour (channel 1 left,
// channel 2 right, as their ranges and units may differ), each channel's set
// points 1 and 2 as dashed and dotted lines in the channel's colour, and the
// relay states as shaded bands (relay 1 over the upper half of the plot, relay
// 2 over the lower half). Paused, the chart keeps what it shows while the
// history goes on filling, so the shown data can be looked at and saved.

#include <QChartView>
#include <QDateTime>
#include <array>
#include <vector>

#include "monitor/trend_history.h"

class QAreaSeries;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace zrm::gui {

class TrendChart : public QChartView {
  Q_OBJECT

 public:
  explicit TrendChart(QWidget* parent = nullptr);

  // The wall-clock moment at which the samples' steady clock
  // (`TrendSample::elapsed_ms`) was 0, so the time axis shows local time.
  void SetClockZero(const QDateTime& clock_zero);

  // Draws `samples` (oldest first) unless the chart is paused.
  void Show(std::vector<TrendSample> samples);

  // Which set points have a type (not "Нет"): [channel][0] set point 1,
  // [channel][1] set point 2. A set point without one is not drawn.
  void SetSetpointsOn(const std::array<std::array<bool, 2>, 2>& on);

  void SetPaused(bool paused);
  bool Paused() const { return paused_; }

  // The samples on display, frozen while paused.
  const std::vector<TrendSample>& ShownSamples() const { return shown_; }

  // A low, wide strip, so the page keeps the window's size.
  QSize sizeHint() const override;

 private:
  struct ChannelSeries {
    QLineSeries* value;                      // the first stretch of answers, named in the legend
    std::vector<QLineSeries*> later_values;  // one per stretch after a gap
    QLineSeries* setpoint1;
    QLineSeries* setpoint2;
  };
  struct RelayBand {
    QLineSeries* upper;
    QLineSeries* lower;
    QAreaSeries* area;
  };

  void BuildSeries();
  // Draws channel `k`'s values as stretches that end where no answer came.
  void DrawValues(std::size_t k);
  QLineSeries* ValueStretch(std::size_t k, std::size_t stretch);
  void Redraw();
  void FitAxes();
  // Fits channel `k`'s axis to its values and set points shown.
  void FitValueAxis(std::size_t k);
  qreal TimeOf(const TrendSample& sample) const;
  // Whether set point `setpoint` (0 or 1) of channel `k` at `value` is drawn.
  bool Drawn(std::size_t k, std::size_t setpoint, float value) const;

  QDateTime clock_zero_;
  QDateTimeAxis* time_axis_;
  std::array<QValueAxis*, 2> value_axis_{};  // channel 1 left, channel 2 right
  QValueAxis* band_axis_;                    // hidden, 0..1: the relay bands' halves
  std::array<ChannelSeries, 2> channel_{};
  std::array<RelayBand, 2> relay_{};
  std::vector<TrendSample> shown_;
  std::array<std::array<bool, 2>, 2> setpoints_on_{{{true, true}, {true, true}}};
  bool paused_ = false;
};

}  // namespace zrm::gui
