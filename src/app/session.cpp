#include "app/session.h"

#include <algorithm>
#include <cctype>

#include "app/app_texts.h"
#include "app/history_settings.h"
#include "app/last_write.h"
#include "app/link_config_file.h"
#include "app/own_settings_file.h"
#include "app/read_command.h"
#include "app/report_command.h"
#include "app/write_command.h"
#include "editor/editor_binding.h"
#include "link/port_opening.h"
#include "profiles/default_profiles.h"
#include "settings/manufacturing_date.h"

namespace zrm {

namespace {

constexpr const char* kProfileExtension = ".prf";

bool EndsWithProfileExtension(const std::string& name) {
  const std::string extension = kProfileExtension;
  if (name.size() < extension.size()) return false;
  return std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

}  // namespace

Session::Session(std::string dir)
    : dir_(std::move(dir)), history_(RecorderOf(dir_, "zrm48setup", "")) {}

Session::~Session() = default;

std::string Session::RecentProfilePath() const { return dir_ + "/recent.prf"; }

void Session::StartUp(Operator& op, StartUpView& view) {
  config_ = LoadLinkConfig(dir_, op);
  // Settings that leave every write refused are told at once.
  if (!history_->Refusal().empty())
    op.ShowMessage(history_->Refusal(), app_texts::kHistoryCaption, MessageIcon::kWarning);
  LoadProfileIntoForm(RecentProfilePath(), op);
  CreateDefaultProfiles(dir_, op);
  ShowRecord();
  view.ShowEditor();
  view.ShowStartCaption();
  OpenConfiguredPort(port_, config_, op);
  view.ShowFirstPage();
  CreateLink();
  SetManufacturingDateToToday(settings.general);
  ShowRecord();
  view.ShowEditor();
}

bool Session::StartWithoutWindow(Operator& op, const std::string& device, PortModes modes) {
  window_ = false;
  history_ = RecorderOf(dir_, "zrm48ctl", history_database_);
  device_ = device;
  config_ = LoadLinkConfig(dir_, op);
  const DescriptionLines lines = LoadNewProfile(settings);
  form.description.assign(lines.begin(), lines.end());
  ShowRecord();
  SetManufacturingDateToToday(settings.general);
  ShowRecord();
  const bool opened = device.empty() ? OpenConfiguredPort(port_, config_, op, modes)
                                     : OpenPort(port_, device, config_.speed, op, modes);
  CreateLink();
  return opened;
}

void Session::UseNetAddress(std::uint32_t address) {
  config_.net_address = address;
  CreateLink();
}

void Session::ReloadLastState(Operator& op) {
  LoadProfileIntoForm(RecentProfilePath(), op);
  ShowRecord();
  // The relay page's area is the one group area the editor display leaves
  // to the caller.
  form.relay_area_white = settings.relay.select == 1;
}

void Session::ShutDown(Operator& op) {
  StorePortNumber(dir_, config_.port_number, op);
  link_.reset();
  port_.Close();
  CollectEditor(op);
  SaveProfile(RecentProfilePath(), settings, DescriptionOf(form), op);
}

bool Session::PortReadyFor(Operator& op) {
  if (port_.IsOpen() || (device_.empty() && config_.PortPath().empty())) return true;
  // Without a window the port was opened once, at start, and a failure was
  // told then: a command ends with 2, and never falls back to another port.
  if (!window_) return false;
  return OpenConfiguredPort(port_, config_, op);
}

ExchangeResult Session::Read(EditorForm& job_form, DeviceSettings& s, Operator& op) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  const ExchangeResult r = ReadCommand(job_form, s, *link_, op, config_.port_number);
  RecordRead("read", r, s, op);
  return r;
}

ExchangeResult Session::Write(EditorForm& job_form, DeviceSettings& s, Operator& op,
                              DeviceSettings& instrument) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  if (BackupBeforeWrite(dir_)) {
    std::string backup_path;
    return WriteWithBackup(job_form, s, op, backup_path, instrument);
  }
  HistoryEvent opening;
  if (!OpenWriteEvent("write", op, opening)) return result::kFile;
  const ExchangeResult r = WriteCommand(job_form, s, *link_, op, Backups(), instrument);
  // Without a backup the instrument's values before the write were not read.
  CloseWriteEvent(opening, r, instrument, {}, "", op);
  return r;
}

std::optional<ConfigurationPage> Session::Report(EditorForm& job_form, DeviceSettings& s,
                                                 Operator& op) {
  ConfigurationPage page;
  if (Report(job_form, s, op, page) != result::kOk) return std::nullopt;
  return page;
}

ExchangeResult Session::Report(EditorForm& job_form, DeviceSettings& s, Operator& op,
                               ConfigurationPage& page) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  if (ExchangeResult r = ReportReadCommand(*link_, s, op)) return r;
  SettingsToEditor(s, job_form, config_.port_number);
  page = BuildConfigurationPage(s, LocalDateToday());
  // The report is a read: a history that cannot be read only warns.
  std::string error;
  page.last_write_line = LastWriteLine(dir_, s, error);
  if (!error.empty()) op.Notice(error);
  return result::kOk;
}

PollOutcome Session::PollCurrentValues(CurrentValues& held, TimeOfDay& wait_start) {
  PollOutcome outcome = zrm::PollCurrentValues(*link_, held);
  wait_start = link_->LastWaitStart();
  return outcome;
}

std::string Session::MeasurementLogPath() const {
  return config_.MeasurementLogOn() ? PathInFolder(dir_, config_.izm_file_name) : std::string();
}

void Session::ChangePort(int index, EditorForm& job_form, DeviceSettings& s, Operator& op) {
  EditorToSettings(job_form, s, op);
  config_.port_number = index + 1;
  OpenConfiguredPort(port_, config_, op);
  SettingsToEditor(s, job_form, config_.port_number);
}

void Session::OpenProfile(const std::string& path, Operator& op) {
  CollectEditor(op);
  if (window_) {
    LoadProfileIntoForm(path, op);
  } else {
    const DescriptionLines lines = ReadProfile(path, settings);
    form.description.assign(lines.begin(), lines.end());
  }
  ShowRecord();
}

bool Session::SaveProfileAs(const std::string& chosen, Operator& op) {
  CollectEditor(op);
  return SaveProfile(ProfileSaveName(chosen), settings, DescriptionOf(form), op);
}

void Session::LoadProfileIntoForm(const std::string& path, Operator& op) {
  const DescriptionLines lines = LoadProfile(path, settings, op);
  form.description.assign(lines.begin(), lines.end());
}

void Session::CollectEditor(Operator& op) { EditorToSettings(form, settings, op); }

void Session::ShowRecord() { SettingsToEditor(settings, form, config_.port_number); }

void Session::CreateLink() {
  exchange_log_.reset();
  if (config_.ExchangeLogOn())
    exchange_log_ = std::make_unique<ExchangeLogFile>(PathInFolder(dir_, config_.log_file_name));
  link_ = std::make_unique<Link>(port_, LinkParamsOf(config_), exchange_log_.get());
}

std::string ProfileSaveName(const std::string& chosen) {
  return EndsWithProfileExtension(chosen) ? chosen : chosen + kProfileExtension;
}

DescriptionLines DescriptionOf(const EditorForm& form) {
  DescriptionLines lines;
  for (std::size_t i = 0; i < lines.size() && i < form.description.size(); ++i)
    lines[i] = form.description[i];
  return lines;
}

}  // namespace zrm
