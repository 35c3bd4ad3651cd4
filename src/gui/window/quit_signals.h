#pragma once
// SIGINT and SIGTERM as a Qt signal: a logout, a kill or Ctrl+C in the
// terminal closes the window in its orderly way instead of ending the
// process on the spot. The signals are blocked in every thread and read from
// a signalfd on the window's event loop, so no handler runs in signal context.

#include <QObject>
#include <QSocketNotifier>

namespace zrm::gui {

// Blocks SIGINT and SIGTERM for the calling thread and every thread it
// starts afterwards; call first thing in main.
void BlockQuitSignals();

class QuitSignals : public QObject {
  Q_OBJECT

 public:
  explicit QuitSignals(QObject* parent = nullptr);
  ~QuitSignals() override;

 signals:
  void QuitRequested();

 private:
  void ReadSignal();

  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zrm::gui
