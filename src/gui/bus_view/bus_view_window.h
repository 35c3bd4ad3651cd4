#pragma once
// The window "Приборы на линии" (Связь → Приборы на линии…): a window of its
// own, not modal, with one row per instrument of the port in use, polled
// between the main window's commands (BusViewPolling). The instruments are
// those the last search found on the port, or the addresses typed in the
// window. "Настроить этот прибор" (or a double click on a row) points the
// window's commands at that instrument while this window stays open, and in
// dev.dat too when the user agrees.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "app/session.h"
#include "gui/bus_view/bus_view_model.h"
#include "gui/bus_view/bus_view_polling.h"
#include "gui/window/device_job_runner.h"
#include "gui/dialogs/dialog_service.h"
#include "gui/window/gui_operator.h"

namespace zrm::gui {

class BusViewWindow : public QWidget {
  Q_OBJECT

 public:
  // Polls `session`'s line as jobs of `runner`; `page_polls` tells whether
  // the page "Текущие значения" polls now. Every argument must outlive the
  // window; `parent` is the main window, over which it opens.
  BusViewWindow(Session& session, DeviceJobRunner& runner, GuiOperator& op, DialogService& dialogs,
                std::function<bool()> page_polls, QWidget* parent);

  // Shows the window (raised when open) with the instruments of the last
  // search on the port in use, or the address of dev.dat when there was none.
  void Open();

  // A search ended: an open window polls what it found on the port in use.
  void ShowSearchResult();

  // The instrument of `row` becomes the one the window's commands talk to;
  // nothing happens while the commands are locked.
  void PickRow(int row);

  // Locked (false) with the main window's commands: a pick is a command.
  void SetCommandsEnabled(bool enabled);

  // The rows shown.
  const BusViewModel& Model() const { return model_; }

 protected:
  // Closing stops the polling and gives the commands their address back,
  // unless the one picked went into dev.dat.
  void closeEvent(QCloseEvent* event) override;
  // The columns fit the new width.
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Polls the addresses typed in the field; a list that cannot be read is
  // reported and changes nothing.
  void ApplyAddresses();
  // The port in use changed: its own instruments from now on.
  void ShowPortInUse();
  // Opens beside the main window, or over its pages below its controls, as
  // wide as every column needs on one line as far as the screen allows.
  void Place();
  // Every column in view at the table's width: the texts that do not fit
  // on one line wrap (headers too), rows growing as they need.
  void FitColumns();
  // Each column's width with its texts on one line, and with them wrapped
  // at their longest word.
  std::vector<int> NaturalWidths() const;
  std::vector<int> LeastWidths() const;
  // The header as high as its wrapped texts.
  void FitHeaderHeight();
  void ShowPolled(const BusSnapshot& snapshot);
  void ShowState(BusViewPolling::State state);
  // The footer: why the view polls or not, and whether the line answers.
  void ShowFooter();
  void OnLogToggled(bool on);
  // Asked after a pick: the address into dev.dat as well.
  void OfferToStore(std::uint32_t address);
  // The window's commands talk to `address` from now on (a device job);
  // `after` runs once that is done.
  void UseAddress(std::uint32_t address, std::function<void()> after = {});

  Session& session_;
  DeviceJobRunner& runner_;
  GuiOperator& op_;
  DialogService& dialogs_;
  BusViewModel model_;
  BusViewPolling polling_;
  QLineEdit* addresses_;                             // BusAddresses
  QTableView* table_;                                // BusTable
  QCheckBox* log_switch_;                            // BusLogPerInstrument
  QPushButton* configure_;                           // BusConfigure
  QLabel* state_;                                    // BusState
  BusViewPolling::State polling_state_ = BusViewPolling::State::kStopped;
  QTimer refresh_timer_;                             // the time since the last answer
  std::map<std::uint32_t, std::uint64_t> answered_;  // polls answered per address, for the logs
  std::optional<std::uint32_t> address_before_;      // the commands' address before the first pick
  bool placed_for_values_ = false;  // placed again for the first values since Open
};

// The footer's text for the polling in `state`; `none_answers`: every row
// is offline.
QString BusViewFooter(BusViewPolling::State state, bool none_answers);

}  // namespace zrm::gui
