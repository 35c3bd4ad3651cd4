#pragma once
// The page "Текущие значения": the boxes that show the instrument's current
// values, channel states, relays, front-panel buttons, encoder and the state
// of the link, the button that pauses and resumes the reading, and the live
// trend chart with its pause and CSV export buttons. The page paints what the
// poller hands it; it decides nothing itself.

#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

#include "gui/trend_chart.h"
#include "monitor/current_values_view.h"

namespace zrm::gui {

// The colour a box of the page is painted with: yellow, the application's
// button face, or white.
QColor PaintOf(BoxColour colour);
// The colour of a box's text: dimmed for last known values.
QColor TextPaintOf(bool last_known);

class CurrentValuesPage : public QWidget {
  Q_OBJECT

 public:
  explicit CurrentValuesPage(QWidget* parent = nullptr);

  // Paints every box of `view`, text and colour, Panel75 included.
  void Show(const CurrentValuesView& view);

  // The reading button's text: "Начать чтение" while paused, "Приостановить
  // чтение" while polling. Paused, the shown values turn last known and the
  // link state says the polling is paused.
  void ShowReadingPaused(bool paused);

  // Boxes of one channel: value, status text, and the flag boxes
  // set point 1, set point 2, sensor break.
  struct ChannelBoxes {
    QLabel* value;
    QLabel* status;
    QLabel* setpoint1;
    QLabel* setpoint2;
    QLabel* sensor_break;
  };

  std::array<ChannelBoxes, 2> channel;  // Panel3.., Panel7..
  std::array<QLabel*, 2> relay;         // Panel11, Panel12
  std::array<QLabel*, 5> button;        // Panel13..Panel17
  std::array<QLabel*, 2> encoder;       // Panel18, Panel19
  std::array<QLabel*, 4> single_led;    // "Единичные светодиоды" 1..4, not driven
  QLabel* link_state;                   // Panel75
  QPushButton* reading;                 // pauses and resumes the polling
  TrendChart* trend;
  QPushButton* trend_pause;             // freezes and releases the chart
  QPushButton* trend_save;              // the shown data as CSV

  // The file the shown trend is saved to, offering the `proposed` name;
  // empty when the user cancelled. A save-file dialog by default; tests put
  // their own answer here.
  std::function<QString(QWidget* parent, const QString& proposed)> choose_csv_path;

 private:
  QWidget* BuildChannels();
  QWidget* BuildLamps();
  QWidget* BuildControls();
  void ToggleTrendPause();

  // The boxes in the order of NamedBoxes().
  std::array<QLabel*, kCurrentValuesBoxCount> boxes_{};
  CurrentValuesView shown_;
};

}  // namespace zrm::gui
