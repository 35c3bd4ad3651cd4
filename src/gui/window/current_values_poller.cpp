#include "gui/window/current_values_poller.h"

#include <memory>
#include <utility>

#include "gui/window/export_file_name.h"
#include "gui/texts/qt_text.h"
#include "gui/window/status_texts.h"
#include "gui/texts/window_texts.h"
#include "monitor/trend_csv.h"
#include "platform/atomic_file.h"
#include "settings/sensor_types.h"

namespace zrm::gui {

namespace {

std::array<std::string, 2> UnitsOf(const DeviceSettings& settings) {
  return {std::string(SensorUnit(settings.channel[0].dat)),
          std::string(SensorUnit(settings.channel[1].dat))};
}

}  // namespace

CurrentValuesPoller::CurrentValuesPoller(Session& session, DeviceJobRunner& runner, QTimer& timer,
                                         CurrentValuesPage& page, DialogService& dialogs,
                                         QObject* parent)
    : QObject(parent),
      session_(session),
      runner_(runner),
      timer_(timer),
      page_(page),
      dialogs_(dialogs),
      cadence_(session.Config().timeout_ms, 0) {
  clock_.start();
  page_.Trend().SetClockZero(QDateTime::currentDateTime());
  connect(&page_.ReadingButton(), &QPushButton::clicked, this, &CurrentValuesPoller::ToggleReading);
  connect(&page_.TrendSaveButton(), &QPushButton::clicked, this,
          &CurrentValuesPoller::SaveShownTrend);
}

void CurrentValuesPoller::Tick(int page_index) {
  const bool poll = cadence_.BeginTick(NowMs(), page_index, runner_.Busy());
  timer_.setInterval(static_cast<int>(cadence_.IntervalMs()));
  if (!poll) return;
  // The job polls a copy of the held values and hands it back, so the two
  // threads never share them.
  auto job = std::make_shared<PollJob>();
  job->held = held_;
  job->identify = !identified_;
  runner_.RunPoll(
      [this, job] {
        job->outcome = session_.PollCurrentValues(job->held, job->wait_start);
        if (!job->identify || job->outcome.result != result::kOk) return;
        DeviceSettings instrument;
        if (session_.Identify(DeviceSettings{}, instrument) == result::kOk)
          job->identity = instrument;
      },
      [this, job] { EndPoll(*job); });
}

void CurrentValuesPoller::EndPoll(const PollJob& job) {
  held_ = job.held;
  page_.Show(cadence_.Paused() ? PausedView(job.outcome.view) : ViewOf(job));
  const bool write_log_line = cadence_.EndPoll(NowMs(), job.outcome.result);
  // The next tick counts from the end of this poll.
  timer_.start(static_cast<int>(cadence_.IntervalMs()));
  const std::string log_path = session_.MeasurementLogPath();
  if (write_log_line && !log_path.empty())
    Ignore(LogMeasurement(log_path, MeasurementOf(held_, job.wait_start)),
           "a log file that cannot be opened loses this line only; polling goes on");
  if (job.outcome.result == result::kOk)
    AddTrendSample(job.wait_start);
  else
    gap_pending_ = true;
  // After polls that went unanswered another instrument may answer.
  if (job.outcome.result != result::kOk) identified_ = false;
  if (job.identity) {
    identified_ = true;
    emit InstrumentIdentified(*job.identity);
  }
}

CurrentValuesView CurrentValuesPoller::ViewOf(const PollJob& job) const {
  CurrentValuesView view = job.outcome.view;
  if (job.outcome.result != result::kOk && !session_.PortOpen())
    view.link_state = {FromQ(PortNotOpenText(session_.PortPath())), BoxColour::kYellow};
  return view;
}

void CurrentValuesPoller::AddTrendSample(const TimeOfDay& wait_start) {
  TrendSample sample;
  sample.elapsed_ms = NowMs();
  sample.time = wait_start;
  sample.relay_byte = held_.relay_byte;
  sample.after_gap = std::exchange(gap_pending_, false);
  for (std::size_t k = 0; k < 2; ++k) {
    sample.value[k] = held_.channel[k].value;
    sample.status[k] = held_.channel[k].status;
    sample.setpoint1[k] = session_.settings.channel[k].th1;
    sample.setpoint2[k] = session_.settings.channel[k].th2;
  }
  history_.Add(sample);
  std::array<std::array<bool, 2>, 2> on{};
  for (std::size_t k = 0; k < 2; ++k)
    on[k] = {session_.settings.channel[k].th_type1 != 0,
             session_.settings.channel[k].th_type2 != 0};
  page_.Trend().SetSetpointsOn(on);
  page_.Trend().Show(history_.Samples());
}

void CurrentValuesPoller::ToggleReading() {
  cadence_.SetPaused(!cadence_.Paused());
  page_.ShowReadingPaused(cadence_.Paused());
}

void CurrentValuesPoller::SaveShownTrend() {
  const QString proposed = ExportFileName(session_.form, QDateTime::currentDateTime(), "csv");
  const QString path = page_.ChooseCsvPath(proposed);
  if (path.isEmpty()) return;
  const std::string csv = TrendCsv(page_.Trend().ShownSamples(), UnitsOf(session_.settings));
  std::string error;
  if (!ReplaceFileAtomically(FromQ(path), csv, error)) {
    dialogs_.ShowMessage(&page_, text::kCannotWriteFile + FromQ(path) + ": " + error,
                         text::kErrorCaption, MessageIcon::kError);
    emit Outcome(ToQ(text::kCannotWriteFile) + path);
    return;
  }
  emit Outcome(ToQ(text::kFileSaved) + path);
}

}  // namespace zrm::gui
