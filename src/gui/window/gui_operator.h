#pragma once
// The window's Operator: the core's reports, questions, progress lines and
// ESC queries, callable from the link thread as well as from the window's
// own thread. Message boxes and questions always open on the window's
// thread. A question asked by a job holds the job until it is answered; a
// message box of a job does not: it waits until the job has ended and opens
// then (the DeviceJobRunner asks for it), so the link is free and the
// current values go on behind it; before a question the job's boxes so far
// open first, in order. Progress lines travel as queued signals; ESC pressed
// in the window itself is registered in an atomic flag that EscPressed reads
// and clears (an ESC that closes a menu, a drop-down list or a dialog is
// not).

#include <QObject>
#include <QStringList>
#include <atomic>
#include <string>
#include <vector>

#include "gui/dialogs/dialog_service.h"
#include "platform/operator.h"

namespace zrm::gui {

class GuiOperator : public QObject, public Operator {
  Q_OBJECT

 public:
  // Boxes open over `parent`; `dialogs` and `parent` must outlive the
  // operator, which belongs to the thread that creates it.
  GuiOperator(DialogService& dialogs, QWidget* parent);

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void SetProgressLines(const ProgressLines& lines) override;
  void ShowProgress() override;
  void HideProgress() override;
  void SetProgressCount(int done, int total) override;
  // The window locks its controls for the whole run of a device job, so the
  // lock of a single sequence inside it has nothing more to do.
  void LockCommands() override {}
  void UnlockCommands() override {}
  bool EscPressed() override;
  // The window's event loop runs on its own thread and never waits for the
  // link, so there is nothing to let through.
  void LetMessagesThrough() override {}

  // Registers an ESC press, as the key does.
  void PressEsc() { esc_pressed_ = true; }

  // From now on boxes are not shown and questions are answered No, and an
  // open box is closed: the window is closing.
  void StopAsking();
  // Boxes and questions are shown again.
  void ResumeAsking();

  // Until ShowHeldBoxes, message boxes wait instead of opening: the
  // start-up's reports open over the window once it stands, not alone
  // before it. Questions cannot wait for an answer and open at once.
  void HoldBoxes() { holding_boxes_ = true; }
  // Opens the boxes held since HoldBoxes, in their order (none once the
  // window is closing), and opens later ones at once again.
  void ShowHeldBoxes();
  // Opens the message boxes the jobs showed since the last call, in their
  // order (none once the window is closing).
  void ShowJobBoxes();

 signals:
  void ProgressLinesChanged(const QStringList& lines);
  void ProgressVisible(bool visible);
  void ProgressCountChanged(int done, int total);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // True for an ESC sent to the window or one of its controls while no
  // popup or modal dialog takes the keys.
  bool MeantForTheWindow(const QObject* watched) const;
  // Runs `call` on the window's thread and waits for it.
  template <typename Call>
  void OnWindowThread(Call call);

  DialogService& dialogs_;
  QWidget* parent_;
  std::atomic<bool> esc_pressed_{false};
  std::atomic<bool> stopped_asking_{false};
  struct HeldBox {
    std::string text;
    std::string caption;
    MessageIcon icon;
  };
  // Opens `box` now, or holds it during the start-up.
  void Show(const HeldBox& box);

  // Read and written on the window's thread only.
  bool holding_boxes_ = false;
  std::vector<HeldBox> held_boxes_;
  std::vector<HeldBox> job_boxes_;  // shown by jobs, waiting for their end
};

}  // namespace zrm::gui
