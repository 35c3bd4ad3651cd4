#include "app/write_journal.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "app/app_texts.h"
#include "editor/settings_comparison.h"
#include "platform/atomic_file.h"
#include "platform/system_reason.h"
#include "profiles/profile_file.h"

namespace zrm {

namespace {

namespace fs = std::filesystem;

// The entry format this program writes; a higher one comes from a newer
// program and is never acted on.
constexpr int kJournalVersion = 1;

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// "2026-12-08 12:01:33", the local time as the entry stores it.
std::string StoredTime(const std::tm& at) {
  return std::to_string(at.tm_year + 1900) + "-" + TwoDigits(at.tm_mon + 1) + "-" +
         TwoDigits(at.tm_mday) + " " + TwoDigits(at.tm_hour) + ":" + TwoDigits(at.tm_min) + ":" +
         TwoDigits(at.tm_sec);
}

bool ParseInt(std::string_view text, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseStoredTime(const std::string& text, std::tm& at) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':')
    return false;
  const std::string_view t = text;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!ParseInt(t.substr(0, 4), year) || !ParseInt(t.substr(5, 2), month) ||
      !ParseInt(t.substr(8, 2), day) || !ParseInt(t.substr(11, 2), hour) ||
      !ParseInt(t.substr(14, 2), minute) || !ParseInt(t.substr(17, 2), second))
    return false;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
    return false;
  at = {};
  at.tm_year = year - 1900;
  at.tm_mon = month - 1;
  at.tm_mday = day;
  at.tm_hour = hour;
  at.tm_min = minute;
  at.tm_sec = second;
  return true;
}

std::string Stem(const std::string& working_dir, const GeneralSettings& g) {
  return JournalFolder(working_dir) + "/" + InstrumentFileStem(g);
}

std::string SettingsPath(const std::string& working_dir, const GeneralSettings& g) {
  return Stem(working_dir, g) + ".prf";
}

std::string LockPath(const std::string& working_dir, const GeneralSettings& g) {
  return Stem(working_dir, g) + ".lock";
}

// The entry's text: one "key=value" a line, the version first.
std::string EntryText(const std::tm& started, const GeneralSettings& g,
                      const std::string& backup_path) {
  return "version=" + std::to_string(kJournalVersion) + "\nstarted=" + StoredTime(started) +
         "\nproc_ver=" + std::to_string(g.proc_ver) + "\notk_type=" + std::to_string(g.otk_type) +
         "\nserial_lo=" + std::to_string(g.serial_lo) +
         "\nserial_hi=" + std::to_string(g.serial_hi) + "\nbackup=" + backup_path + "\n";
}

std::map<std::string, std::string> EntryKeys(const std::string& text) {
  std::map<std::string, std::string> keys;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const auto equals = line.find('=');
    if (equals != std::string::npos) keys.emplace(line.substr(0, equals), line.substr(equals + 1));
  }
  return keys;
}

bool KeyNumber(const std::map<std::string, std::string>& keys, const std::string& key, int& value) {
  const auto found = keys.find(key);
  return found != keys.end() && ParseInt(found->second, value);
}

// Reads the entry's own file into `entry` (without its settings); an empty
// result, or what is wrong with the file.
std::string ReadEntryFile(const std::string& path, JournalEntry& entry) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  if (!file) return SystemReason(errno);
  text << file.rdbuf();  // an empty file reads as no keys: damaged
  const auto keys = EntryKeys(text.str());
  int version = 0;
  if (!KeyNumber(keys, "version", version) || version < 1) return app_texts::kJournalDamaged;
  if (version > kJournalVersion) return app_texts::kJournalNewer;
  GeneralSettings& g = entry.instrument;
  const auto started = keys.find("started");
  const auto backup = keys.find("backup");
  if (started == keys.end() || !ParseStoredTime(started->second, entry.started) ||
      !KeyNumber(keys, "proc_ver", g.proc_ver) || !KeyNumber(keys, "otk_type", g.otk_type) ||
      !KeyNumber(keys, "serial_lo", g.serial_lo) || !KeyNumber(keys, "serial_hi", g.serial_hi) ||
      backup == keys.end())
    return app_texts::kJournalDamaged;
  entry.backup_path = backup->second;
  return {};
}

ExchangeResult Refuse(Operator& op, const std::string& text) {
  op.ShowMessage(text, app_texts::kJournalCaption, MessageIcon::kError);
  return result::kFile;
}

ExchangeResult NotSaved(Operator& op, const std::string& where, const std::string& why) {
  return Refuse(op, app_texts::kJournalNotSaved + where + ": " + why);
}

// The settings being written, saved as a profile whose description names
// the instrument and the moment.
bool SaveTarget(const std::string& path, const DeviceSettings& target, const GeneralSettings& g,
                const std::tm& started, std::string& reason) {
  DeviceSettings record = target;
  const DescriptionLines description = {
      app_texts::kJournalDescription + ModelNumber(g.proc_ver) + " " + DeviceNumber(g),
      app_texts::kJournalStartedAt + StoredTime(started), "", ""};
  return SaveProfileGivingReason(path, record, description, reason);
}

}  // namespace

std::string JournalFolder(const std::string& working_dir) { return working_dir + "/journal"; }

std::string JournalEntryPath(const std::string& working_dir, const DeviceSettings& instrument) {
  return Stem(working_dir, instrument.general) + ".journal";
}

ExchangeResult OpenJournalEntry(const std::string& working_dir, const DeviceSettings& instrument,
                                const DeviceSettings& target, const std::string& backup_path,
                                Operator& op, JournalLock& lock) {
  const std::string folder = JournalFolder(working_dir);
  std::error_code error;
  fs::create_directories(folder, error);
  std::string reason;
  if (error) return NotSaved(op, folder, SystemReason(error.value()));
  const std::string path = JournalEntryPath(working_dir, instrument);
  const std::string lock_path = LockPath(working_dir, instrument.general);
  switch (lock.Take(lock_path, reason)) {
    case JournalLock::Taking::kHeldElsewhere:
      return Refuse(op, app_texts::kWriteRunningElsewhere + path);
    case JournalLock::Taking::kFailed: return NotSaved(op, lock_path, reason);
    case JournalLock::Taking::kTaken: break;
  }
  JournalEntry earlier;
  std::string problem;
  std::string backup = backup_path;
  switch (FindJournalEntry(working_dir, instrument, earlier, problem)) {
    case JournalState::kDamaged: return Refuse(op, problem + app_texts::kJournalBlocksWrite);
    case JournalState::kUnfinished:
      op.Notice(UnfinishedWriteSentence(earlier));
      if (!earlier.backup_path.empty()) backup = earlier.backup_path;
      break;
    case JournalState::kNone: break;
  }
  if (!SyncFolder(working_dir, reason)) return NotSaved(op, working_dir, reason);

  const std::time_t now = std::time(nullptr);
  std::tm started{};
  localtime_r(&now, &started);
  const GeneralSettings& g = instrument.general;
  const std::string settings_path = SettingsPath(working_dir, g);
  if (!SaveTarget(settings_path, target, g, started, reason))
    return NotSaved(op, settings_path, reason);
  // The entry goes last: once it is on the disk, so are its settings.
  if (!ReplaceFileAtomically(path, EntryText(started, g, backup), reason))
    return NotSaved(op, path, reason);
  return result::kOk;
}

void CloseJournalEntry(const std::string& working_dir, const DeviceSettings& instrument) {
  // The entry goes first: without it the settings beside it mean nothing.
  std::error_code ignored;
  fs::remove(JournalEntryPath(working_dir, instrument), ignored);
  fs::remove(SettingsPath(working_dir, instrument.general), ignored);
  std::string reason;
  SyncFolder(JournalFolder(working_dir), reason);
}

JournalState FindJournalEntry(const std::string& working_dir, const DeviceSettings& instrument,
                              JournalEntry& entry, std::string& problem) {
  const std::string path = JournalEntryPath(working_dir, instrument);
  std::error_code error;
  if (!fs::exists(fs::symlink_status(path, error))) return JournalState::kNone;
  JournalEntry read;
  std::string why = ReadEntryFile(path, read);
  const std::string settings_path = SettingsPath(working_dir, read.instrument);
  if (why.empty() && !HoldsProfileKeys(settings_path))
    why = app_texts::kJournalNoSettings + settings_path;
  if (!why.empty()) {
    problem = app_texts::kJournalUnreadable + path + ": " + why;
    return JournalState::kDamaged;
  }
  ReadProfile(settings_path, read.settings);
  read.settings.general.serial_lo = read.instrument.serial_lo;
  read.settings.general.serial_hi = read.instrument.serial_hi;
  entry = read;
  return JournalState::kUnfinished;
}

std::string UnfinishedWriteSentence(const JournalEntry& entry) {
  const std::tm& at = entry.started;
  return app_texts::kUnfinishedWriteStart + DeviceNumber(entry.instrument) +
         app_texts::kUnfinishedWriteBegun + TwoDigits(at.tm_mday) + "." + TwoDigits(at.tm_mon + 1) +
         "." + std::to_string(at.tm_year + 1900) + app_texts::kUnfinishedWriteAt +
         TwoDigits(at.tm_hour) + ":" + TwoDigits(at.tm_min) + app_texts::kUnfinishedWriteEnd;
}

}  // namespace zrm
