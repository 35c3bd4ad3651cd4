#pragma once
// The life of the window's device commands, apart from the window: a command
// runs as a job on the link thread with copies of the editor form and the
// record, which the window takes back when it ends; the controls that could
// start another command stay locked meanwhile. A command asked for while a
// poll (of the current values, of the window "Приборы на линии") holds the
// link waits for the poll, already
// locked; an ESC pressed meanwhile stops it before it starts (a port change
// always happens). A close asked for while a job runs stops the job and waits
// for it; the window shuts down once.

#include <QObject>
#include <QString>
#include <functional>

#include "editor/editor_history.h"
#include "gui/window/gui_operator.h"
#include "gui/window/link_worker.h"

namespace zrm::gui {

// What the runner asks of the window around a command; the window
// implements it, the tests record it.
class DeviceJobView {
 public:
  virtual ~DeviceJobView() = default;
  // A command is about to copy the form: the edits under way join it.
  virtual void TakeEdits() = 0;
  // Locks (false) or unlocks (true) everything that could start another
  // command or change the record; called only when that changes.
  virtual void SetCommandsEnabled(bool enabled) = 0;
  // A command ended and the form and the record hold what it left: shows
  // them, and `status` (what it did) when not empty.
  virtual void ShowJobEnd(const QString& status) = 0;
  // A command that replaces the editor's content ended; `before` is the
  // editor as the command found it (an undo step).
  virtual void RecordRead(const EditorState& before) = 0;
  // What a command that never started did, for the status bar.
  virtual void ShowOutcome(const QString& text) = 0;
  // The link is free again after any job, a poll as well: the port's state
  // may have changed.
  virtual void ShowPortState() = 0;
  // A close waited for a job, which has ended: the window closes now.
  virtual void CloseWindow() = 0;
  // The window's last steps (timers, sizes, the last state), done once.
  virtual void ShutDown() = 0;
};

class DeviceJobRunner : public QObject {
  Q_OBJECT

 public:
  // A command that reads the editor's content from the instrument leaves an
  // undo step; a port change cannot be stopped by ESC.
  enum class JobKind { kReplacesEditor, kKeepsEditor, kPortChange };
  // Works on copies of the form and the record on the link thread; returns
  // what it did for the status bar (empty: nothing to say).
  using DeviceJob = std::function<QString(EditorForm&, DeviceSettings&)>;

  // `form` and `settings` are the editor's content, `op` the window's
  // Operator; all of them and `view` must outlive the runner.
  DeviceJobRunner(EditorForm& form, DeviceSettings& settings, GuiOperator& op, DeviceJobView& view,
                  QObject* parent = nullptr);

  // Runs the command `job`, or parks it until the poll that holds the link
  // ends (a later command parked meanwhile takes its place). The message
  // boxes the job showed open once it has ended, then `after` runs, on this
  // object's thread, outside the link's notice of its end (so it may open a
  // modal dialog); neither after the shutdown.
  void Run(DeviceJob job, JobKind kind, std::function<void()> after = {});

  // Runs a poll `job` on the link thread, then `done` here; false (nothing
  // runs) while a job holds the link.
  bool RunPoll(std::function<void()> job, std::function<void()> done);

  // True while a job (command or poll) holds the link.
  bool Busy() const { return worker_.Busy(); }
  // True once the window has shut down.
  bool HasShutDown() const { return shut_down_; }

  // The window is asked to close: true when it may close now (shut down
  // then, once); false while a job runs, which is stopped at its next step
  // and the close asked for again when it has ended.
  bool Close();
  // A quit signal: from now on no box is shown nor question asked, also
  // through the shutdown.
  void QuitWithoutAsking();
  // The window goes away: a running job is stopped and waited for, without
  // waiting for answers nobody will give.
  void StopAndWait();

 private:
  struct Command {
    DeviceJob job;
    JobKind kind = JobKind::kKeepsEditor;
    std::function<void()> after;
  };

  void Start(Command command);
  void EndCommand(const Command& command, const QString& status, const EditorState& before);
  // The link is free: a pending close or a parked command goes ahead.
  void LinkIdle();
  void Lock(bool locked);

  EditorForm& form_;
  DeviceSettings& settings_;
  GuiOperator& op_;
  DeviceJobView& view_;
  LinkWorker worker_;
  Command parked_;  // waits for the poll that holds the link; empty job: none
  bool locked_ = false;
  bool close_pending_ = false;
  bool quit_by_signal_ = false;
  bool shut_down_ = false;
};

}  // namespace zrm::gui
