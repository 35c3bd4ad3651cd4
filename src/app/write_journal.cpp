#include "app/write_journal.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>
#include <system_error>

#include "app/app_texts.h"
#include "editor/settings_comparison.h"
#include "platform/atomic_file.h"
#include "platform/content_hash.h"
#include "platform/file_kind.h"
#include "platform/system_reason.h"
#include "profiles/profile_file.h"

namespace zrm {

namespace {

namespace fs = std::filesystem;

// The entry format this program writes; a higher one comes from a newer
// program and is never acted on.
// Version 2 records the size and fingerprint of the settings file, so that
// a file cut short or changed is never written into an instrument.
constexpr int kJournalVersion = 2;

// An entry's own file is a few hundred bytes and its settings under two
// kilobytes; anything far larger is damaged, and is never read whole.
constexpr std::uintmax_t kMostEntryBytes = 1 << 20;

// An entry's own file; its settings lie beside it under the same stem.
constexpr std::string_view kEntryExtension = ".journal";
constexpr std::string_view kSettingsExtension = ".prf";

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

// A new entry is named by the instrument as the write begins:
// journal/ZRM4813-047-12345.
std::string Stem(const std::string& working_dir, const GeneralSettings& g) {
  return JournalFolder(working_dir) + "/" + InstrumentFileStem(g);
}

// "ZRM" and a model number: the part of an entry's name before its
// instrument number.
bool IsModelPart(std::string_view part) {
  return part.size() > 3 && part.substr(0, 3) == "ZRM" &&
         part.find_first_not_of("0123456789", 3) == std::string_view::npos;
}

// The stem of the entry kept for the instrument with g's prefix and serial
// number, whatever its type reads now: a write that changed the device type
// and stopped leaves its entry under the model it began with. Without one,
// the stem a new entry gets.
std::string FoundStem(const std::string& working_dir, const GeneralSettings& g) {
  const std::string own = Stem(working_dir, g);
  std::error_code error;
  if (fs::exists(fs::symlink_status(own + std::string(kEntryExtension), error))) return own;
  const std::string tail = "-" + DeviceNumber(g) + std::string(kEntryExtension);
  for (fs::directory_iterator it(JournalFolder(working_dir), error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() > tail.size() && name.ends_with(tail) &&
        IsModelPart(std::string_view(name).substr(0, name.size() - tail.size())))
      return JournalFolder(working_dir) + "/" + name.substr(0, name.size() - kEntryExtension.size());
  }
  return own;
}

// One lock per prefix and serial number, not per model: a write that
// changes the device type still excludes every other write into the
// instrument.
std::string LockPath(const std::string& working_dir, const GeneralSettings& g) {
  return JournalFolder(working_dir) + "/" + DeviceNumber(g) + ".lock";
}

// What the entry knows of its settings file as it was saved.
struct SettingsPrint {
  std::uintmax_t size = 0;
  std::string hash;
};

// The size and fingerprint of the file at `path`; false when it cannot be
// read.
bool PrintOf(const std::string& path, SettingsPrint& print) {
  std::error_code error;
  print.size = fs::file_size(path, error);
  print.hash = FileContentHash(path);
  return !error && !print.hash.empty();
}

// The entry's text: one "key=value" a line, the version first.
std::string EntryText(const std::tm& started, const GeneralSettings& g,
                      const std::string& backup_path, const SettingsPrint& print) {
  return "version=" + std::to_string(kJournalVersion) + "\nstarted=" + StoredTime(started) +
         "\nproc_ver=" + std::to_string(g.proc_ver) + "\notk_type=" + std::to_string(g.otk_type) +
         "\nserial_lo=" + std::to_string(g.serial_lo) +
         "\nserial_hi=" + std::to_string(g.serial_hi) + "\nbackup=" + backup_path +
         "\nsettings_size=" + std::to_string(print.size) + "\nsettings_hash=" + print.hash + "\n";
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

// Reads the entry's own file into `entry` (without its settings) and what it
// recorded of its settings file (nothing from an entry of version 1); an
// empty result, or what is wrong with the file.
std::string ReadEntryFile(const std::string& path, JournalEntry& entry, SettingsPrint& print) {
  if (std::string kind = NotRegularFileAt(path); !kind.empty()) return kind;
  if (LargerThan(path, kMostEntryBytes)) return app_texts::kJournalDamaged;
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
  if (version < 2) return {};
  const auto size = keys.find("settings_size");
  const auto hash = keys.find("settings_hash");
  if (size == keys.end() || hash == keys.end() || hash->second.empty())
    return app_texts::kJournalDamaged;
  const auto [end, error] = std::from_chars(size->second.data(),
                                            size->second.data() + size->second.size(), print.size);
  if (error != std::errc() || end != size->second.data() + size->second.size())
    return app_texts::kJournalDamaged;
  print.hash = hash->second;
  return {};
}

// What is wrong with the settings file of an entry, or empty: missing, not
// the file the entry recorded (version 2 on), or not a whole profile.
std::string SettingsProblem(const std::string& settings_path, const SettingsPrint& recorded) {
  if (LargerThan(settings_path, kMostEntryBytes))
    return app_texts::kJournalSettingsDamaged + settings_path;
  if (!HoldsProfileKeys(settings_path)) return app_texts::kJournalNoSettings + settings_path;
  SettingsPrint now;
  const bool damaged = !recorded.hash.empty() && (!PrintOf(settings_path, now) ||
                                                  now.size != recorded.size ||
                                                  now.hash != recorded.hash);
  if (damaged || !HoldsEveryProfileKey(settings_path))
    return app_texts::kJournalSettingsDamaged + settings_path;
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

// Removes the entry at `stem` and its settings, the entry first: without it
// the settings beside it mean nothing.
void RemoveEntry(const std::string& working_dir, const std::string& stem) {
  std::error_code ignored;
  fs::remove(stem + std::string(kEntryExtension), ignored);
  fs::remove(stem + std::string(kSettingsExtension), ignored);
  std::string reason;
  SyncFolder(JournalFolder(working_dir), reason);
}

}  // namespace

std::string JournalFolder(const std::string& working_dir) { return working_dir + "/journal"; }

std::string JournalEntryPath(const std::string& working_dir, const DeviceSettings& instrument) {
  return FoundStem(working_dir, instrument.general) + std::string(kEntryExtension);
}

ExchangeResult TakeJournalLock(const std::string& working_dir, const DeviceSettings& instrument,
                               Operator& op, JournalLock& lock) {
  const std::string folder = JournalFolder(working_dir);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return NotSaved(op, folder, SystemReason(error.value()));
  const std::string lock_path = LockPath(working_dir, instrument.general);
  std::string reason;
  switch (lock.Take(lock_path, reason)) {
    case JournalLock::Taking::kHeldElsewhere:
      return Refuse(op, app_texts::kWriteRunningElsewhere + JournalEntryPath(working_dir, instrument));
    case JournalLock::Taking::kFailed: return NotSaved(op, lock_path, reason);
    case JournalLock::Taking::kTaken: break;
  }
  return result::kOk;
}

ExchangeResult OpenJournalEntry(const std::string& working_dir, const DeviceSettings& instrument,
                                const DeviceSettings& target, const std::string& backup_path,
                                Operator& op, JournalLock& lock) {
  if (ExchangeResult r = TakeJournalLock(working_dir, instrument, op, lock)) return r;
  const std::string path = Stem(working_dir, instrument.general) + std::string(kEntryExtension);
  std::string reason;
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
  const std::string settings_path = Stem(working_dir, g) + std::string(kSettingsExtension);
  const std::string earlier_stem = FoundStem(working_dir, g);
  if (!SaveTarget(settings_path, target, g, started, reason))
    return NotSaved(op, settings_path, reason);
  SettingsPrint print;
  if (!PrintOf(settings_path, print)) return NotSaved(op, settings_path, SystemReason(errno));
  // The entry goes last: once it is on the disk, so are its settings.
  if (!ReplaceFileAtomically(path, EntryText(started, g, backup, print), reason))
    return NotSaved(op, path, reason);
  // The instrument's earlier entry, kept under another model, is replaced.
  if (earlier_stem != Stem(working_dir, g)) RemoveEntry(working_dir, earlier_stem);
  return result::kOk;
}

void CloseJournalEntry(const std::string& working_dir, const DeviceSettings& instrument) {
  RemoveEntry(working_dir, FoundStem(working_dir, instrument.general));
}

JournalState FindJournalEntry(const std::string& working_dir, const DeviceSettings& instrument,
                              JournalEntry& entry, std::string& problem) {
  const std::string path = JournalEntryPath(working_dir, instrument);
  std::error_code error;
  if (!fs::exists(fs::symlink_status(path, error))) return JournalState::kNone;
  JournalEntry read;
  SettingsPrint recorded;
  std::string why = ReadEntryFile(path, read, recorded);
  const std::string settings_path =
      path.substr(0, path.size() - kEntryExtension.size()) + std::string(kSettingsExtension);
  if (why.empty()) why = SettingsProblem(settings_path, recorded);
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
