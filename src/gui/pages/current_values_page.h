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

#include "gui/widgets/trend_chart.h"
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

  // Paints every box of `view`, text and colour, the link state included.
  void Show(const CurrentValuesView& view);

  // The reading button's text: "Начать чтение" while paused, "Приостановить
  // чтение" while polling. Paused, the shown values turn last known and the
  // link state says the polling is paused.
  void ShowReadingPaused(bool paused);

  TrendChart& Trend() { return *trend_; }
  // The button that pauses and resumes the polling, and the one that saves
  // the shown trend as CSV.
  QPushButton& ReadingButton() { return *reading_; }
  QPushButton& TrendSaveButton() { return *trend_save_; }

  // The file the shown trend is saved to, offering the `proposed` name;
  // empty when the user cancelled. A save-file dialog unless tests put their
  // own answer here.
  using CsvPathChooser = std::function<QString(QWidget* parent, const QString& proposed)>;
  QString ChooseCsvPath(const QString& proposed) { return choose_csv_path_(this, proposed); }
  void SetCsvPathChooser(CsvPathChooser chooser) { choose_csv_path_ = std::move(chooser); }

 private:
  QWidget* BuildChannels();
  QWidget* BuildLamps();
  QWidget* BuildControls();
  void ToggleTrendPause();

  CurrentValuesBoxes<QLabel*> boxes_{};
  std::array<QLabel*, 4> single_leds_{};  // "Единичные светодиоды" 1..4, not driven
  QPushButton* reading_;
  TrendChart* trend_;
  QPushButton* trend_pause_;  // freezes and releases the chart
  QPushButton* trend_save_;
  CsvPathChooser choose_csv_path_;
  CurrentValuesView shown_;
};

}  // namespace zrm::gui
