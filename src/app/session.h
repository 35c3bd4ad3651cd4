#pragma once
// The workstation state the main window works on: the working folder, the
// link configuration from dev.dat, the serial port with its exchange log and
// link, the settings record and the editor form, with the start-up and
// shutdown sequences, the port change and the profile commands.
//
// Threads: the window runs the device jobs (Read, Write, ChangePort) on its
// link thread, with copies of the form and the record; everything else runs
// on the window's thread, and never while a job runs. The port and the link
// are therefore touched by one thread at a time.

#include <memory>
#include <optional>
#include <string>

#include "app/changes_write_command.h"
#include "app/history_recorder.h"
#include "app/instrument_backup.h"
#include "app/instrument_search.h"
#include "app/journal_repair.h"
#include "editor/editor_form.h"
#include "editor/settings_comparison.h"
#include "link/exchange_log.h"
#include "link/exchange_result.h"
#include "link/link.h"
#include "link/link_config.h"
#include "monitor/current_values_poll.h"
#include "platform/operator.h"
#include "platform/port_line.h"
#include "profiles/profile_file.h"
#include "report/configuration_page.h"
#include "settings/device_settings.h"

namespace zrm {

// The steps of the start-up that belong to the window. The window builds
// its item lists and hints when it is constructed, before the start-up runs,
// so they exist before any list index is set.
class StartUpView {
 public:
  virtual ~StartUpView() = default;
  // Copies the editor form into the window's controls.
  virtual void ShowEditor() = 0;
  // Sets the window caption of a fresh start.
  virtual void ShowStartCaption() = 0;
  // Shows the notebook's first page.
  virtual void ShowFirstPage() = 0;
};

class Session {
 public:
  // `dir` is the working folder that holds dev.dat, recent.prf, the default
  // profiles and the logs.
  explicit Session(std::string dir);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const std::string& Dir() const { return dir_; }
  const LinkConfig& Config() const { return config_; }
  // The port number 1..4 (or what dev.dat gave) the link uses now.
  int PortNumber() const { return config_.port_number; }
  // Path of the last editor state, dir/recent.prf.
  std::string RecentProfilePath() const;

  // The start-up sequence: dev.dat, recent.prf, the default profiles, the editor, the caption, the
  // port, the first page, the link parameters, today's date as manufacturing date, the editor
  // again.
  void StartUp(Operator& op, StartUpView& view);

  // The start-up of a program without a window, for one command: dev.dat,
  // the record of a new profile built in memory (no recent.prf, no default
  // profiles) shown in the editor, today's date as manufacturing date, then
  // the port (`device` when not empty, else the configured one, in `modes`
  // besides those dev.dat gives it) and the link.
  // The profiles such a session opens are only read, never written.
  // False when the port could not be opened (told to the user); the
  // session's commands then end with 2 and nothing is sent anywhere.
  bool StartWithoutWindow(Operator& op, const std::string& device, PortModes modes = {});

  // The plant's database the history of a session without a window is sent
  // to (zrm48ctl's --history, checked already) instead of the one
  // zrm48setup.ini names; set before StartWithoutWindow.
  void UseHistoryDatabase(std::string url) { history_database_ = std::move(url); }

  // The instrument address the requests carry from now on, instead of
  // dev.dat's (a batch row names the instrument of a bus it talks to).
  void UseNetAddress(std::uint32_t address);

  // Loads recent.prf once more and refreshes the editor and all four group
  // areas (run shortly after start-up).
  void ReloadLastState(Operator& op);

  // The shutdown sequence: the port number into dev.dat, the port closed,
  // the editor collected, the record saved to recent.prf.
  void ShutDown(Operator& op);

  // True while the configured port is open; and the device path it has.
  bool PortOpen() const { return port_.IsOpen(); }
  std::string PortPath() const { return config_.PortPath(); }
  // What the user should be told once about the device opened (a USB
  // adapter's slow latency timer); empty when nothing is new. Taken while
  // no command runs.
  std::string TakePortNotice() { return port_.TakeNotice(); }

  // "Прочитать из прибора" / "Записать в прибор" on `form` and `s`. A port
  // that is not open is opened once more first; when that fails the user
  // sees the port's path and the reason, as at start, and the command
  // ends with 2 without its own "no answer" box. The write tells in
  // `instrument` the instrument it identified before its first frame
  // (serial number 0 when it stopped before that).
  ExchangeResult Read(EditorForm& form, DeviceSettings& s, Operator& op);
  ExchangeResult Write(EditorForm& form, DeviceSettings& s, Operator& op,
                       DeviceSettings& instrument);

  // "Сформировать страницу" on `form` and `s`: the report read; after a
  // good read the record is shown in `form` and the page of today's date is
  // returned. Empty when the read failed (its error already shown once);
  // `form` is then left as it was.
  std::optional<ConfigurationPage> Report(EditorForm& form, DeviceSettings& s, Operator& op);
  // The same with the read's result; `page` is built only after a good read.
  ExchangeResult Report(EditorForm& form, DeviceSettings& s, Operator& op, ConfigurationPage& page);

  // One poll of the current values, run as a device job like Read: reads
  // the status block into `held`; `wait_start` receives the start of the
  // exchange's wait, which the measurement log line carries.
  PollOutcome PollCurrentValues(CurrentValues& held, TimeOfDay& wait_start);

  // The link to the instrument, for single parameter reads and writes;
  // valid after a start-up.
  Link& InstrumentLink() { return *link_; }
  // The line of the port the session opened, for a poll that keeps a Link
  // of its own on it (the bus poll of several instruments).
  Line& InstrumentLine() { return port_; }

  // The measurement log file, or empty when dev.dat switches the log off.
  std::string MeasurementLogPath() const;

  // The port selector chose item `index` (port index + 1): collects the
  // editor first, so no unsaved edit is lost, reopens the link on the new
  // port and shows the record again.
  void ChangePort(int index, EditorForm& form, DeviceSettings& s, Operator& op);

  // The open command of the "Файл" menu after the dialog: collects the
  // editor, loads the profile (creating it when missing, writing back the
  // keys a load completes) and shows it. A session without a window, which
  // opens a profile to compare it or to write it into an instrument, reads
  // it and leaves the file exactly as it was.
  void OpenProfile(const std::string& path, Operator& op);

  // The save command after the dialog: collects the editor and saves to
  // ProfileSaveName(chosen). True when the file was written.
  bool SaveProfileAs(const std::string& chosen, Operator& op);

  // The place of this working folder's backups.
  BackupPlace Backups() const { return {dir_, config_.port_number}; }

  // "Сравнить с прибором", "Записать изменения", the whole write after a
  // backup, and a backup alone, run as device jobs like Read and Write;
  // see the commands of the same names.
  ExchangeResult Compare(EditorForm& form, DeviceSettings& s, Operator& op,
                         DeviceSettings& instrument, std::vector<SettingDifference>& differences);
  ExchangeResult WriteChanges(EditorForm& form, DeviceSettings& s, Operator& op,
                              ChangesWriteOutcome& outcome);
  ExchangeResult WriteWithBackup(EditorForm& form, DeviceSettings& s, Operator& op,
                                 std::string& backup_path, DeviceSettings& instrument);
  ExchangeResult Backup(EditorForm& form, DeviceSettings& s, Operator& op, std::string& path);
  // "Сравнить с прибором" against the profile at `path` (a backup the
  // history names) in place of the editor: the profile is read into copies
  // of `form` and `s`, which stay as they are. A file that is missing or no
  // whole profile is told and ends with kFile before anything is sent.
  ExchangeResult CompareWithProfile(const std::string& path, const EditorForm& form,
                                    const DeviceSettings& s, Operator& op,
                                    DeviceSettings& instrument,
                                    std::vector<SettingDifference>& differences);

  // Reads the type, prefix and serial number of the instrument on the link
  // into a copy of `s` (see ReadInstrumentIdentity); run as a device job.
  ExchangeResult Identify(const DeviceSettings& s, DeviceSettings& instrument);

  // Completing ("Дописать") or rolling back ("Вернуть как было") the
  // unfinished write of the instrument on the link, in two steps: the plan
  // identifies the instrument and looks up its journal (a failed read is
  // shown and returned; a plan other than kReady is for the caller to tell);
  // the repair then writes the plan's settings as a write of changes into
  // `form` and `s`, journalled like any write. When nothing differs any
  // more, the instrument is restarted as a write ends and the entry goes.
  ExchangeResult FindRepair(RepairKind kind, const DeviceSettings& s, Operator& op,
                            DeviceSettings& instrument, RepairPlan& plan);
  ExchangeResult RepairWrite(const RepairPlan& plan, EditorForm& form, DeviceSettings& s,
                             Operator& op, ChangesWriteOutcome& outcome);

  // The search for instruments on the port in use ("Найти прибор…"), run as
  // a device job. The port goes back to the configured speed afterwards.
  // The window's search keeps the addresses found, with the port's device,
  // in zrm48setup.ini (the window "Приборы на линии" polls them); a search
  // that found nothing keeps the last one that did.
  SearchOutcome SearchInstruments(const SearchPlan& plan, Operator& op);

  // "Использовать" on a found instrument: its speed and address go into
  // dev.dat and into the link at once. False when dev.dat could not be
  // written (told to the user); the link uses them either way.
  bool UseInstrument(std::int32_t speed, std::uint32_t address, Operator& op);

  // "Порты…" saved: [PORTS] into dev.dat and the port paths used from now
  // on; the port in use is opened again when its device changed.
  bool UsePortPaths(const std::string (&paths)[4], Operator& op);

  // The device of the port in use came back (hot-plug): opens the port
  // again unless it is open. True when it is open now.
  bool OpenPortAgain(Operator& op);

  DeviceSettings settings;
  EditorForm form;

 private:
  // The port is open, or was opened now, or has no device to open (the
  // exchanges then fail as they always did); false after the open failed
  // and was reported.
  bool PortReadyFor(Operator& op);
  // The addresses a search found, kept with the device of the port in use;
  // a file that cannot be written is told to the user.
  void KeepFoundAddresses(const SearchOutcome& outcome, Operator& op);
  // Loads `path` into the record and its description into the form.
  void LoadProfileIntoForm(const std::string& path, Operator& op);
  // The editor collected into the record.
  void CollectEditor(Operator& op);
  // The record shown in the editor.
  void ShowRecord();
  // Link parameters from the configuration: address, attempts 2..5, time-out.
  void CreateLink();

  // The line a history event names: the device given, else the port's.
  std::string HistoryLine() const;
  // A history event of `action` on that line and the address in use.
  HistoryEvent NewEventHere(const std::string& action);
  // The history of changes. A write's opening event is stored before its
  // first frame; false after telling the user why it could not be, and the
  // write must then not start.
  bool OpenWriteEvent(const std::string& action, Operator& op, HistoryEvent& opening);
  // The write's closing event: its outcome, the instrument, the values
  // before and after, its backup and journal entry. A failure to store it is
  // told to the user.
  void CloseWriteEvent(const HistoryEvent& opening, ExchangeResult r,
                       const DeviceSettings& instrument, std::vector<ParameterChange> changes,
                       const std::string& backup_path, Operator& op);
  // The write of changes recorded as `action` ("changes", "resume",
  // "rollback").
  ExchangeResult WriteChangesAs(const std::string& action, EditorForm& form, DeviceSettings& s,
                                Operator& op, ChangesWriteOutcome& outcome);
  // One event for each instrument a search found, at its address and speed;
  // one without an instrument when it found none.
  void RecordSearch(const SearchOutcome& outcome, Operator& op);
  // Tells what the history has to say once (its database cannot be
  // reached, its file cannot be written): the window in a box, as it passes
  // notices over, zrm48ctl on stderr.
  void TellHistoryNotice(Operator& op);
  // A read's event; a failure to store it is told, and the read stands.
  void RecordRead(const std::string& action, ExchangeResult r, const DeviceSettings& instrument,
                  Operator& op);

  std::string dir_;
  LinkConfig config_;
  PortLine port_;
  std::unique_ptr<ExchangeLogFile> exchange_log_;
  std::unique_ptr<Link> link_;
  bool window_ = true;  // false after StartWithoutWindow
  std::unique_ptr<HistoryRecorder> history_;
  std::string history_database_;  // zrm48ctl's --history
  std::string device_;  // the device given instead of the configured port
};

// The file name a save writes: the chosen name with ".prf" appended unless
// it already ends in ".prf" in any case ("a.prf" stays "a.prf", "b" becomes
// "b.prf", "c.PRF" stays "c.PRF").
std::string ProfileSaveName(const std::string& chosen);

// The first four lines of the description box; missing lines are empty.
DescriptionLines DescriptionOf(const EditorForm& form);

}  // namespace zrm
