#include "gui/window/device_job_runner.h"

#include <QCoreApplication>
#include <memory>
#include <utility>

#include "gui/window/status_texts.h"
#include "link/exchange_result.h"

namespace zrm::gui {

DeviceJobRunner::DeviceJobRunner(EditorForm& form, DeviceSettings& settings, GuiOperator& op,
                                 DeviceJobView& view, QObject* parent)
    : QObject(parent), form_(form), settings_(settings), op_(op), view_(view) {
  connect(&worker_, &LinkWorker::Idle, this, &DeviceJobRunner::LinkIdle);
}

void DeviceJobRunner::Run(DeviceJob job, JobKind kind, std::function<void()> after) {
  Command command{std::move(job), kind, std::move(after)};
  if (!worker_.Busy()) {
    Start(std::move(command));
    return;
  }
  // Commands lock their controls, so only a poll (of the current values or of
  // the window "Приборы на линии") holds the link now; the command follows it, and nothing else can
  // be asked for meanwhile. Only an ESC from now on is meant for it.
  parked_ = std::move(command);
  op_.EscPressed();
  Lock(true);
}

void DeviceJobRunner::Start(Command command) {
  // Every command starts without an ESC from before it.
  op_.EscPressed();
  view_.TakeEdits();
  auto form = std::make_shared<EditorForm>(form_);
  auto settings = std::make_shared<DeviceSettings>(settings_);
  auto before = std::make_shared<EditorState>(EditorState{form_, settings_});
  auto status = std::make_shared<QString>();
  Lock(true);
  worker_.Run([job = command.job, form, settings, status] { *status = job(*form, *settings); },
              [this, command, form, settings, status, before] {
                form_ = std::move(*form);
                settings_ = std::move(*settings);
                EndCommand(command, *status, *before);
              });
}

void DeviceJobRunner::EndCommand(const Command& command, const QString& status,
                                 const EditorState& before) {
  view_.ShowJobEnd(status);
  Lock(false);
  if (command.kind == JobKind::kReplacesEditor) view_.RecordRead(before);
  // Queued: the link's notice of the end (a pending close among it) comes
  // first, and a modal dialog must not hold it up. The command's boxes open
  // here, with the link free and the commands unlocked, so the polls go on
  // behind them; what follows the command comes once they are closed.
  QMetaObject::invokeMethod(
      this,
      [this, after = command.after] {
        if (shut_down_) return;
        op_.ShowJobBoxes();
        if (after) after();
      },
      Qt::QueuedConnection);
}

bool DeviceJobRunner::RunPoll(std::function<void()> job, std::function<void()> done) {
  return worker_.Run(std::move(job), std::move(done));
}

void DeviceJobRunner::LinkIdle() {
  view_.ShowPortState();
  if (close_pending_) {
    view_.CloseWindow();
    return;
  }
  if (!parked_.job) return;
  Command command = std::exchange(parked_, Command{});
  if (command.kind != JobKind::kPortChange && op_.EscPressed()) {
    // Stopped while it waited: the same end as an ESC during its steps.
    ShowExchangeError(op_, result::kUserAbort);
    view_.ShowOutcome(CommandFailedStatus(result::kUserAbort));
    Lock(false);
    return;
  }
  Start(std::move(command));
}

void DeviceJobRunner::Lock(bool locked) {
  if (locked_ == locked) return;
  locked_ = locked;
  view_.SetCommandsEnabled(!locked);
}

bool DeviceJobRunner::Close() {
  if (shut_down_) return true;
  if (worker_.Busy()) {
    // Stop the job at its next step; the close is asked for again when it has.
    close_pending_ = true;
    op_.StopAsking();
    op_.PressEsc();
    return false;
  }
  if (!quit_by_signal_) op_.ResumeAsking();
  // Marked first: a close asked for again while the shutdown shows a box
  // must not shut down a second time.
  shut_down_ = true;
  view_.ShutDown();
  return true;
}

void DeviceJobRunner::QuitWithoutAsking() {
  quit_by_signal_ = true;
  op_.StopAsking();
}

void DeviceJobRunner::StopAndWait() {
  op_.StopAsking();
  op_.PressEsc();
  while (worker_.Busy()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

}  // namespace zrm::gui
