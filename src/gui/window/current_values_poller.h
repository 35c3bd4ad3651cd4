#pragma once
// The polling of the page "Текущие значения" in the window: at each tick of
// the polling timer it asks the cadence whether to poll, runs the poll as a
// job on the link thread (so a missing instrument never freezes the window),
// and when the job ends paints the page, sets the timer's next interval,
// writes the measurement log line on every second polling tick and adds a
// good poll to the trend history. The first answered poll (at start, or
// after polls that went unanswered) also reads what names the instrument,
// so its unfinished write, if any, is told. It also serves the page's reading button
// (pause and resume) and the export of the shown trend as CSV.

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <optional>

#include "app/session.h"
#include "gui/pages/current_values_page.h"
#include "gui/window/device_job_runner.h"
#include "gui/dialogs/dialog_service.h"
#include "monitor/current_values.h"
#include "monitor/poll_cadence.h"
#include "monitor/trend_history.h"

namespace zrm::gui {

class CurrentValuesPoller : public QObject {
  Q_OBJECT

 public:
  // Polls through `session`'s link as jobs of `runner`, drives `timer` (the polling
  // timer, started by the window) and paints `page`. Create it after the
  // start-up, which reads the reply time-out; every argument must outlive it.
  CurrentValuesPoller(Session& session, DeviceJobRunner& runner, QTimer& timer,
                      CurrentValuesPage& page, DialogService& dialogs, QObject* parent = nullptr);

  // A tick of the polling timer while the notebook shows page `page_index`.
  void Tick(int page_index);
  // True while the page's reading is paused ("Начать чтение").
  bool Paused() const { return cadence_.Paused(); }

 signals:
  // The shown trend was written to a file, or could not be: what happened,
  // for the status bar.
  void Outcome(const QString& text);
  // The instrument that answers now (its type, prefix and serial number).
  void InstrumentIdentified(const zrm::DeviceSettings& instrument);

 private:
  // What a poll job hands back to the window's thread.
  struct PollJob {
    CurrentValues held;
    PollOutcome outcome;
    TimeOfDay wait_start;
    bool identify = false;  // read the identity after a good poll
    std::optional<DeviceSettings> identity;
  };

  void EndPoll(const PollJob& job);
  // What the page shows of `job`: a poll that failed while no port is open
  // says that, not that the instrument did not answer.
  CurrentValuesView ViewOf(const PollJob& job) const;
  void AddTrendSample(const TimeOfDay& wait_start);
  void ToggleReading();
  void SaveShownTrend();
  std::int64_t NowMs() const { return clock_.elapsed(); }

  Session& session_;
  DeviceJobRunner& runner_;
  QTimer& timer_;
  CurrentValuesPage& page_;
  DialogService& dialogs_;
  QElapsedTimer clock_;  // the cadence's and the trend's steady clock
  PollCadence cadence_;
  CurrentValues held_;  // the held values, from start to exit
  TrendHistory history_;
  bool gap_pending_ = false;  // a poll failed since the last trend sample
  bool identified_ = false;   // the instrument answering now has been identified
};

}  // namespace zrm::gui
