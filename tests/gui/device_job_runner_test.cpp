// The device commands' life without a window: each row is a script of what
// the window would do (a command, a poll, ESC, a close) and the exact order
// of what the runner asked of the window. Jobs wait at a gate on the link
// thread until the script opens it ("go"), so the order never depends on
// timing.

#include "gui/window/device_job_runner.h"

#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include "gui/window/status_texts.h"
#include "support/scripted_dialogs.h"

using zrm::gui::DeviceJobRunner;

namespace {

constexpr const char* kAborted = "Ход процесса остановлен пользователем (ERR 20)";

// The window's side, recorded; a close it is asked for goes back to the
// runner as the window's close event does.
class RunnerBench : public zrm::gui::DeviceJobView {
 public:
  RunnerBench() : op(dialogs, &window), runner(form, settings, op, *this) {
    form.channel[0].th1 = "old";
  }

  // One step of a script: "run NAME" (read replaces the editor, port is a
  // port change, other names keep the editor), "run-after NAME" (with a step
  // after its end), "poll", "esc", "close", "go" (open the gate and settle).
  void Do(const QString& step) {
    const QStringList words = step.split(' ');
    if (words[0] == "run" || words[0] == "run-after") Run(words[1], words[0] == "run-after");
    if (step == "poll") Poll();
    if (step == "esc") op.PressEsc();
    if (step == "close") log << (runner.Close() ? "close:yes" : "close:wait");
    if (step == "go") Go();
  }

  void Go() {
    gate = true;
    QElapsedTimer waited;
    waited.start();
    while (runner.Busy() && waited.elapsed() < 20000) QTest::qWait(5);
    QTest::qWait(20);  // what is queued after a job's end
  }

  void TakeEdits() override {
    log << "take";
    form.channel[0].th2 = "edited";
  }
  void SetCommandsEnabled(bool enabled) override { log << (enabled ? "unlock" : "lock"); }
  void ShowJobEnd(const QString& status) override {
    log << "end:" + status + "/" + QString::fromStdString(form.channel[0].th1);
  }
  void RecordRead(const zrm::EditorState& before) override {
    log << "read:" + QString::fromStdString(before.form.channel[0].th1);
  }
  void ShowOutcome(const QString& text) override { log << "outcome:" + text; }
  void ShowPortState() override { log << "port"; }
  void CloseWindow() override {
    log << "close-window";
    log << (runner.Close() ? "close:yes" : "close:wait");
  }
  // A close asked for again while the shutdown runs (a quit signal under
  // one of its boxes).
  void ShutDown() override {
    log << "shutdown";
    if (std::exchange(reentered_, true)) return;
    log << (runner.Close() ? "again:yes" : "again:wait");
  }

  zrm::test::ScriptedDialogs dialogs;
  QWidget window;
  zrm::EditorForm form;
  zrm::DeviceSettings settings;
  zrm::gui::GuiOperator op;
  std::atomic<bool> gate{false};
  DeviceJobRunner runner;
  QStringList log;

 private:
  // The job writes its name into th1 and says what it found: an ESC meant
  // for it, the edits taken before its copy was made.
  void Run(const QString& name, bool with_after) {
    const auto kind = name == "read"   ? DeviceJobRunner::JobKind::kReplacesEditor
                      : name == "port" ? DeviceJobRunner::JobKind::kPortChange
                                       : DeviceJobRunner::JobKind::kKeepsEditor;
    std::function<void()> after;
    if (with_after) after = [this, name] { log << "after:" + name; };
    runner.Run(
        [this, name](zrm::EditorForm& copy, zrm::DeviceSettings&) {
          WaitAtGate();
          copy.channel[0].th1 = name.toStdString();
          return name + (op.EscPressed() ? "+esc" : "") +
                 (copy.channel[0].th2 == "edited" ? "" : "+stale");
        },
        kind, after);
  }

  void Poll() {
    log << (runner.Busy() ? "busy" : "free");
    if (!runner.RunPoll([this] { WaitAtGate(); }, [this] { log << "poll-done"; }))
      log << "poll-refused";
  }

  void WaitAtGate() {
    for (int i = 0; i < 20000 && !gate; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  bool reentered_ = false;
};

}  // namespace

class DeviceJobRunnerTest : public QObject {
  Q_OBJECT

 private slots:
  void ScriptGivesTheWindowItsStepsInOrder_data();
  void ScriptGivesTheWindowItsStepsInOrder();
};

void DeviceJobRunnerTest::ScriptGivesTheWindowItsStepsInOrder_data() {
  QTest::addColumn<QStringList>("script");
  QTest::addColumn<QStringList>("expected");
  QTest::addColumn<int>("aborted_boxes");
  const QString aborted = "outcome:" + zrm::gui::CommandFailedStatus(zrm::result::kUserAbort);
  const QStringList read = {"take", "lock", "end:read/read", "unlock", "read:old", "port"};

  QTest::newRow("a read: edits taken, locked, unlocked once, an undo step")
      << QStringList{"run read"} << read << 0;
  QTest::newRow("a write leaves no undo step")
      << QStringList{"run write"}
      << QStringList{"take", "lock", "end:write/write", "unlock", "port"} << 0;
  QTest::newRow("an ESC from before the command does not stop it")
      << QStringList{"esc", "run read"} << read << 0;
  QTest::newRow("parked while a poll holds the link, started after it")
      << QStringList{"poll", "run read"}
      << QStringList{"free",          "lock",   "poll-done", "port", "take",
                     "end:read/read", "unlock", "read:old",  "port"}
      << 0;
  QTest::newRow("an ESC from before the parking does not stop it")
      << QStringList{"poll", "esc", "run read"}
      << QStringList{"free",          "lock",   "poll-done", "port", "take",
                     "end:read/read", "unlock", "read:old",  "port"}
      << 0;
  QTest::newRow("an ESC while parked stops it before it starts")
      << QStringList{"poll", "run read", "esc"}
      << QStringList{"free", "lock", "poll-done", "port", aborted, "unlock"} << 1;
  QTest::newRow("a parked port change is not stopped by ESC")
      << QStringList{"poll", "run port", "esc"}
      << QStringList{"free", "lock", "poll-done", "port", "take", "end:port/port", "unlock", "port"}
      << 0;
  QTest::newRow("a second command while one runs follows it")
      << QStringList{"run read", "run write"}
      << QStringList{"take", "lock", "end:read/read",   "unlock", "read:old", "port",
                     "take", "lock", "end:write/write", "unlock", "port"}
      << 0;
  QTest::newRow("one parking place: the later command takes it")
      << QStringList{"poll", "run read", "run write"}
      << QStringList{"free",   "lock", "poll-done", "port", "take", "end:write/write",
                     "unlock", "port"}
      << 0;
  QTest::newRow("a poll tick during a command is skipped")
      << QStringList{"run read", "poll"}
      << QStringList{"take",          "lock",   "busy",     "poll-refused",
                     "end:read/read", "unlock", "read:old", "port"}
      << 0;
  QTest::newRow("what follows a command runs after its end")
      << QStringList{"run-after read"} << read + QStringList{"after:read"} << 0;
  QTest::newRow("a close during a command stops it, waits and shuts down once")
      << QStringList{"run-after read", "close", "go", "close"}
      << QStringList{"take",     "lock",      "close:wait", "end:read+esc/read",
                     "unlock",   "read:old",  "port",       "close-window",
                     "shutdown", "again:yes", "close:yes",  "close:yes"}
      << 0;
  QTest::newRow("a close with the link free shuts down at once, once")
      << QStringList{"close", "close"}
      << QStringList{"shutdown", "again:yes", "close:yes", "close:yes"} << 0;
  QTest::newRow("a close during a poll waits for it; the parked command never starts")
      << QStringList{"poll", "run read", "close"}
      << QStringList{"free",         "lock",     "close:wait", "poll-done", "port",
                     "close-window", "shutdown", "again:yes",  "close:yes"}
      << 0;
}

void DeviceJobRunnerTest::ScriptGivesTheWindowItsStepsInOrder() {
  QFETCH(QStringList, script);
  QFETCH(QStringList, expected);
  QFETCH(int, aborted_boxes);
  RunnerBench bench;
  for (const QString& step : script) bench.Do(step);
  bench.Go();
  QCOMPARE(bench.log, expected);
  QCOMPARE(bench.dialogs.CountOf(kAborted), aborted_boxes);
  QVERIFY(!bench.runner.Busy());
}

QTEST_MAIN(DeviceJobRunnerTest)
#include "device_job_runner_test.moc"
