#pragma once
// The main window (object name TForm1): menus "Файл", "Правка", "Прибор"
// and "Связь", the top strip, the five-page notebook with the progress panel
// over it, and the status bar. The window grows from its layout's size and
// keeps its size in zrm48setup.ini. A thin view over the session's editor
// form: every handler copies the controls into the form, calls the core and
// copies the form back. Device commands run as jobs on the link thread while
// the window stays live; the controls that could start another command or
// touch the record are disabled meanwhile.

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "app/session.h"
#include "editor/editor_history.h"
#include "gui/channel_panel.h"
#include "gui/configuration_tab.h"
#include "gui/connection_dialogs.h"
#include "gui/current_values_page.h"
#include "gui/current_values_poller.h"
#include "gui/dialog_service.h"
#include "gui/general_page.h"
#include "gui/gui_operator.h"
#include "gui/hot_plug_watch.h"
#include "gui/link_worker.h"
#include "gui/progress_panel.h"
#include "gui/relay_page.h"
#include "gui/top_strip.h"

namespace zrm::gui {

class MainWindow : public QMainWindow, private StartUpView {
  Q_OBJECT

 public:
  // Builds the window and runs the start-up in `session`'s working folder;
  // both arguments must outlive the window.
  MainWindow(Session& session, DialogService& dialogs, QWidget* parent = nullptr);
  ~MainWindow() override;

  // True while a device job runs.
  bool Busy() const { return worker_.Busy(); }
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

  void BuildMenu();
  void BuildConnectionMenu();
  void BuildPages();
  void ConnectHandlers();

  // Event handlers; the window's object names of their controls follow.
  void OnCreate();
  void OnClose();
  void OnReloadTimer();                          // Timer2: the last state, once after start
  void OnPollTimer();                            // Timer3: the current values
  void OnOpenProfile();                          // N2
  void OnSaveProfile();                          // N3
  void OnUndo();                                 // UndoItem
  void OnRedo();                                 // RedoItem
  void OnReadDevice();                           // Button1
  void OnWriteDevice();                          // Button3
  void OnBuildReport();                          // Button42
  void OnSensorTypeChange();                     // ComboBox1, ComboBox7
  void OnPortChosen(int index);                  // ComboBox17
  void OnRelayCellClicked(int column, int row);  // StringGrid1
  void OnPageChange();                           // TabbedNotebook1
  void OnPorts();                                // PortsItem
  void OnFindInstrument();                       // FindItem
  // The found instruments listed; "Использовать" applies the one chosen.
  void UseFoundInstrument(const SearchOutcome& outcome);
  // The port selector's items carry their device paths as tooltips; the
  // status bar names a USB adapter that no port number stands for.
  void ShowPortDevices();
  // A serial device arrived or left: the news when it is the port in use,
  // which is opened again when it comes back.
  void HotPlugNews(const DeviceEvent& event);

  // Menu "Прибор" (main_window_device_menu.cpp): the comparison, the write of
  // changes, the backups and the switch of the backup before a whole write.
  void BuildDeviceMenu();
  void OnCompare();
  void OnWriteChanges();
  void OnBackups();
  void OnBackupBeforeWriteToggled(bool on);
  // Opens the profile at `path` as "Прочитать из файла настройки прибора"
  // does once its dialog has given the name.
  void OpenProfileAt(const QString& path);

  // Copies the controls into the session's editor form.
  void CollectEditor();
  // Copies the controls into the form as well, leaving an undo step named
  // for the field when the user changed one since the last copy.
  void TakeEditStep();
  // Every control the user edits leaves its undo step when an edit of it
  // is done: a text field when it is left, a list or a switch when chosen.
  void WatchFieldEdits();

  // Runs `job` on the link thread with copies of the editor form and the
  // record, and takes the copies back when it ends; the text the job returns
  // (what it did, when not empty) goes to the status bar. While a poll holds the
  // link the job waits for it with the controls already locked; an ESC
  // pressed meanwhile stops it before it starts, unless it is a port change.
  // A job that reads the editor's content from the instrument leaves an undo
  // step ("чтение из прибора") when it changed the editor.
  enum class JobKind { kReplacesEditor, kKeepsEditor, kPortChange };
  using DeviceJob = std::function<QString(EditorForm&, DeviceSettings&)>;
  void RunDeviceJob(DeviceJob job, JobKind kind);
  void EndDeviceJob(const QString& status);
  // Shows what the last command or file operation did in the status bar.
  void ShowOutcome(const QString& text);
  // While the port could not be opened the status bar says so; the news
  // goes once the port is open again.
  void ShowPortState();

  // The editor's state now; and the undo step of the operation `what` that
  // started from `before`, left only when the operation changed the editor.
  EditorState CurrentEditorState() const;
  void RecordUndoStep(const EditorState& before, const std::string& what);
  // Shows `state` in the editor, keeping the port the link uses.
  void ShowEditorState(EditorState state);
  void UpdateUndoItems();
  // The link thread is free again: a pending close or command goes ahead.
  void LinkIdle();

  // Everything that could start another command or change the record:
  // the command buttons, the port selector, the description, the notebook
  // (no page change) and the "Файл" items.
  void SetCommandsEnabled(bool enabled);

  Session& session_;
  DialogService& dialogs_;
  GuiOperator operator_;
  LinkWorker worker_;

  QMenu* file_menu_;    // N1
  QAction* open_item_;  // N2
  QAction* save_item_;  // N3
  QMenu* edit_menu_;
  QMenu* connection_menu_;
  QAction* ports_item_;
  QAction* find_item_;
  QLabel* outcome_;       // StatusOutcome in the status bar
  QLabel* adapter_note_;  // AdapterNote in the status bar
  std::unique_ptr<ConnectionDialogs> connection_dialogs_;
  HotPlugWatch* hot_plug_;
  QAction* undo_;
  QAction* redo_;
  QMenu* device_menu_;
  QAction* backup_before_write_;
  TopStrip* top_;
  QTabWidget* notebook_;  // TabbedNotebook1
  ChannelPanel* channel_[2];
  RelayPage* relay_page_;
  GeneralPage* general_page_;
  CurrentValuesPage* current_values_page_;
  ConfigurationTab* configuration_tab_;
  ProgressPanel* progress_panel_;                // Panel76
  QTimer reload_timer_;                          // Timer2
  QTimer poll_timer_;                            // Timer3
  std::unique_ptr<CurrentValuesPoller> poller_;  // created by the start-up
  // A command asked for while a poll held the link; it runs when the poll ends.
  DeviceJob deferred_job_;
  JobKind deferred_kind_ = JobKind::kKeepsEditor;
  EditorHistory history_;
  bool commands_enabled_ = true;

  bool close_pending_ = false;
  bool quit_by_signal_ = false;
  bool shut_down_ = false;
  bool shown_ = false;  // the window has been shown once
};

}  // namespace zrm::gui
