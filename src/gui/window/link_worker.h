#pragma once
// The link thread: runs the window's device jobs (read, write, the report
// read, the comparison, the write of changes, the search, port changes and
// the polls of the current values, all given by the DeviceJobRunner) one at a
// time, away from the window's thread, so a slow or missing instrument never
// freezes the window. A job works only
// on what it captured (copies of the editor form and the record) and on the
// link, which no other thread touches while a job runs; its completion runs
// back on the window's thread.

#include <QObject>
#include <QThread>
#include <functional>

namespace zrm::gui {

class LinkWorker : public QObject {
  Q_OBJECT

 public:
  explicit LinkWorker(QObject* parent = nullptr);
  ~LinkWorker() override;  // waits for a running job, then ends the thread

  // Runs `job` on the link thread, then `done` on this object's thread.
  // False (and nothing runs) while another job is still running.
  bool Run(std::function<void()> job, std::function<void()> done);

  bool Busy() const { return busy_; }

 signals:
  // A job ended and its completion has run.
  void Idle();

 private:
  QThread thread_;
  QObject* context_;  // lives on the link thread; jobs run in its slots
  bool busy_ = false;
};

}  // namespace zrm::gui
