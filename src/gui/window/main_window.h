#pragma once
// The main window (object name TForm1): menus "Файл", "Правка", "Прибор"
// and "Связь", the top strip, the five-page notebook with the progress panel
// over it, and the status bar. The window grows from its layout's size and
// keeps its size in zrm48setup.ini. A thin view over the session's editor
// form: every handler copies the controls into the form, calls the core and
// copies the form back. Device commands run through the DeviceJobRunner as
// jobs on the link thread while the window stays live; the window locks the
// controls that could start another command or touch the record when the
// runner says so. The menus "Правка" and "Связь" are objects of their own.

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "app/session.h"
#include "gui/bus_view/bus_view_window.h"
#include "gui/pages/channel_panel.h"
#include "gui/pages/configuration_tab.h"
#include "gui/dialogs/connection_dialogs.h"
#include "gui/window/connection_menu.h"
#include "gui/pages/current_values_page.h"
#include "gui/window/current_values_poller.h"
#include "gui/window/device_job_runner.h"
#include "gui/dialogs/dialog_service.h"
#include "gui/dialogs/history_dialog.h"
#include "gui/pages/general_page.h"
#include "gui/window/gui_operator.h"
#include "gui/window/progress_panel.h"
#include "gui/pages/relay_page.h"
#include "gui/window/top_strip.h"
#include "gui/window/undo_menu.h"
#include "gui/window/unfinished_write_watch.h"

namespace zrm::gui {

class MainWindow : public QMainWindow,
                   private StartUpView,
                   private EditorView,
                   private DeviceJobView {
  Q_OBJECT

 public:
  // Builds the window and runs the start-up in `session`'s working folder;
  // both arguments must outlive the window.
  MainWindow(Session& session, DialogService& dialogs, QWidget* parent = nullptr);
  ~MainWindow() override;

  // True while a device job runs.
  bool Busy() const { return runner_.Busy(); }
  // The window's Operator (tests press ESC through it).
  GuiOperator& WindowOperator() { return operator_; }

  // SIGINT / SIGTERM: close as the user would, without waiting for answers.
  void QuitBySignal();

  // The dialogs of the menu "Связь" (tests script them).
  void SetConnectionDialogs(std::unique_ptr<ConnectionDialogs> dialogs);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The first show opens the start-up's boxes over the window.
  void showEvent(QShowEvent* event) override;

 private:
  // Start-up steps of the window.
  void ShowEditor() override;
  void ShowStartCaption() override;
  void ShowFirstPage() override;
  // Copies the controls into the session's editor form.
  void CollectEditor() override;

  // What the device jobs need of the window (DeviceJobView).
  void TakeEdits() override;
  // Everything that could start another command or change the record:
  // the command buttons, the port selector, the description, the notebook
  // (no page change), the "Файл" items and the menus.
  void SetCommandsEnabled(bool enabled) override;
  void ShowJobEnd(const QString& status) override;
  void RecordRead(const EditorState& before) override;
  // Shows what the last command or file operation did in the status bar.
  void ShowOutcome(const QString& text) override;
  // While the port could not be opened the status bar's part for the port
  // says so; that news goes once the port is open again.
  void ShowPortState() override;
  // News of the port in use: in its own part of the status bar, beside the
  // outcome of the last command, which it never replaces.
  void ShowPortNews(const QString& text);
  void CloseWindow() override { close(); }
  void ShutDown() override;

  void BuildMenu();
  void BuildPages();
  void ConnectHandlers();
  // Every control the user edits leaves its undo step when an edit of it
  // is done: a text field when it is left, a list or a switch when chosen.
  void WatchFieldEdits();

  // Event handlers; the window's object names of their controls follow.
  void OnCreate();
  void OnReloadTimer();                          // Timer2: the last state, once after start
  void OnPollTimer();                            // Timer3: the current values
  void OnOpenProfile();                          // N2
  void OnSaveProfile();                          // N3
  void OnReadDevice();                           // Button1
  void OnWriteDevice();                          // Button3
  void OnBuildReport();                          // Button42
  void OnSensorTypeChange();                     // ComboBox1, ComboBox7
  void OnPortChosen(int index);                  // ComboBox17
  void OnRelayCellClicked(int column, int row);  // StringGrid1
  void OnPageChange();                           // TabbedNotebook1
  // True while the page "Текущие значения" is shown and reading.
  bool PagePolls() const;

  // Menu "Прибор" (main_window_device_menu.cpp): the comparison, the write of
  // changes, the backups, the history and the switch of the backup before a
  // whole write.
  void BuildDeviceMenu();
  void OnCompare();
  // A comparison job: `compare` reads the instrument on the link thread
  // and lists the differences; the comparison dialog opens after it,
  // naming `backup` when the instrument was compared with one.
  using Comparison = std::function<ExchangeResult(EditorForm&, DeviceSettings&, DeviceSettings&,
                                                  std::vector<SettingDifference>&)>;
  void RunComparison(Comparison compare, const QString& backup);
  void OnWriteChanges();
  // "Дописать" / "Вернуть как было" of an unfinished write
  // (main_window_repair.cpp), from the menu or the box that offers them.
  void OnRepair(RepairKind kind);
  // The instrument a command identified: its journal is looked up. A write
  // that ended with `r` other than success says in which group it stopped,
  // when the entry left is its own (begun at `began` or later).
  void LookForUnfinishedWrite(const DeviceSettings& instrument, ExchangeResult r = result::kOk,
                              std::time_t began = 0);
  void OnBackups();
  void OnBackupBeforeWriteToggled(bool on);
  // "История изменений…" of the instrument at hand, and the comparison of
  // the instrument with the backup at `path` that an event of it names.
  void OnHistory();
  void OnCompareWithBackup(const QString& path);
  // Opens the profile at `path` as "Прочитать из файла настройки прибора"
  // does once its dialog has given the name.
  void OpenProfileAt(const QString& path);

  using JobKind = DeviceJobRunner::JobKind;

  Session& session_;
  DialogService& dialogs_;
  GuiOperator operator_;
  DeviceJobRunner runner_;

  QMenu* file_menu_;    // N1
  QAction* open_item_;  // N2
  QAction* save_item_;  // N3
  UndoMenu* undo_menu_;
  QMenu* device_menu_;
  QAction* backup_before_write_;
  ConnectionMenu* connection_menu_;
  QLabel* outcome_;    // StatusOutcome in the status bar
  QLabel* port_news_;  // StatusPortNews in the status bar
  TopStrip* top_;
  QTabWidget* notebook_;  // TabbedNotebook1
  ChannelPanel* channel_[2];
  RelayPage* relay_page_;
  GeneralPage* general_page_;
  CurrentValuesPage* current_values_page_;
  ConfigurationTab* configuration_tab_;
  ProgressPanel* progress_panel_;  // Panel76
  UnfinishedWriteWatch* unfinished_write_;
  QString progress_group_;  // the group (else the step) the progress panel shows last
  QTimer reload_timer_;     // Timer2
  QTimer poll_timer_;       // Timer3
  std::unique_ptr<CurrentValuesPoller> poller_;  // created by the start-up
  BusViewWindow* bus_view_;  // "Приборы на линии", a window of its own
  QPointer<HistoryDialog> history_;  // "История изменений", while it is open
  bool shown_ = false;       // the window has been shown once
};

}  // namespace zrm::gui
