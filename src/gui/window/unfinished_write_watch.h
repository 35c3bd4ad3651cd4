#pragma once
// The window's eye on the write journal: whenever a command has identified
// an instrument, its journal entry is looked up; an unfinished write opens
// the box that offers to end it and leaves a reminder in the status bar for
// as long as the entry remains. An entry of another instrument never
// counts.

#include <QLabel>
#include <QObject>
#include <QStatusBar>
#include <ctime>
#include <optional>
#include <string>

#include "gui/dialogs/unfinished_write_box.h"
#include "settings/device_settings.h"

namespace zrm::gui {

class UnfinishedWriteWatch : public QObject {
  Q_OBJECT

 public:
  // Looks in `working_dir`'s journal; the reminder goes into `bar`, the box
  // opens over `window`. Both must outlive the watch.
  UnfinishedWriteWatch(std::string working_dir, QStatusBar& bar, QWidget& window);

  // `instrument` (its type, prefix and serial number) was identified. With
  // an unfinished write, opens the box and the reminder; `stop` (how the
  // write that just ran stopped) comes before the sentence when the entry
  // is that write's own, saved at `written_since` or later. A damaged entry
  // is named with its path and offers nothing. An instrument without an
  // entry takes down the reminder only when it was that instrument's.
  void Look(const DeviceSettings& instrument, const QString& stop = {},
            std::time_t written_since = 0);
  // Looks again at the instrument of the reminder, without the box: the
  // reminder goes when its entry has gone.
  void Recheck();
  // While the commands are locked (false) the box does not open and its
  // actions are locked: an offer made meanwhile waits, and opens once the
  // commands are free again, unless its entry has gone by then.
  void SetCommandsEnabled(bool enabled);

  // The reminder's text; empty while there is none.
  QString Reminder() const { return reminder_->text(); }

 signals:
  void ResumeAsked();
  void RollbackAsked();

 private:
  struct Offer {
    QString text;
    bool can_act = false;
    bool can_roll_back = false;
  };

  // Opens the box with `offer`, or holds it while the commands are locked.
  void Show(const Offer& offer);
  void Clear();

  std::string working_dir_;
  QLabel* reminder_;  // UnfinishedWriteReminder in the status bar
  UnfinishedWriteBox* box_;
  std::optional<DeviceSettings> watched_;  // the instrument of the reminder
  std::optional<Offer> held_;              // made while the commands were locked
  bool commands_enabled_ = true;
};

}  // namespace zrm::gui
