#include "app/write_journal.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>
#include <system_error>

#include "app/app_texts.h"
#include "platform/atomic_file.h"
#include "platform/content_hash.h"
#include "platform/file_kind.h"
#include "platform/system_reason.h"
#include "profiles/profile_file.h"
#include "settings/instrument_identity_text.h"

namespace zrm {

namespace {

namespace fs = std::filesystem;

// The entry format this program writes; a higher one comes from a newer
// program and is never acted on.
// Version 2 records the size and fingerprint of the settings file, so that
// a file cut short or changed is never written into an instrument; version
// 3 adds the scope of a write of one parameter, and is written only for
// such an entry, so that a program that knows no scope never acts on it.
constexpr int kPlainJournalVersion = 2;
constexpr int kJournalVersion = 3;

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

// A new entry is named by the instrument as the write begins, and by its
// line and address when the place has them: journal/ZRM4813-047-12345 or
// journal/ZRM4813-047-12345@LINE1.3.
std::string Stem(const JournalPlace& place, const GeneralSettings& g) {
  return JournalFolder(place.dir) + "/" + InstrumentFileStem(g) +
         (place.qualifier.empty() ? "" : "@" + place.qualifier);
}

// "ZRM" and a model number: the part of an entry's name before its
// instrument number.
bool IsModelPart(std::string_view part) {
  return part.size() > 3 && part.substr(0, 3) == "ZRM" &&
         part.find_first_not_of("0123456789", 3) == std::string_view::npos;
}

// True when `name` is the entry of an instrument numbered `number` (as
// "047-12345") under any model and, with `any_place`, any qualifier.
bool IsEntryOf(std::string_view name, const std::string& number, bool any_place) {
  if (!name.ends_with(kEntryExtension)) return false;
  name.remove_suffix(kEntryExtension.size());
  if (const auto at = name.find('@'); at != std::string_view::npos) {
    if (!any_place) return false;
    name = name.substr(0, at);
  }
  const std::string tail = "-" + number;
  return name.size() > tail.size() && name.ends_with(tail) &&
         IsModelPart(name.substr(0, name.size() - tail.size()));
}

// The stem of the entry kept for the instrument with g's prefix and serial
// number, whatever its type reads now: a write that changed the device type
// and stopped leaves its entry under the model it began with. A place
// without a qualifier also finds a line's entry; a qualified place only its
// own. Without one, the stem a new entry gets.
std::string FoundStem(const JournalPlace& place, const GeneralSettings& g) {
  const std::string own = Stem(place, g);
  std::error_code error;
  if (fs::exists(fs::symlink_status(own + std::string(kEntryExtension), error))) return own;
  if (!place.qualifier.empty()) return own;
  std::string first;
  const std::string number = DeviceNumber(g);
  for (fs::directory_iterator it(JournalFolder(place.dir), error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (IsEntryOf(name, number, true) && (first.empty() || name < first)) first = name;
  }
  if (first.empty()) return own;
  return JournalFolder(place.dir) + "/" + first.substr(0, first.size() - kEntryExtension.size());
}

// One lock per prefix and serial number (and line and address when the
// place has them), not per model: a write that changes the device type
// still excludes every other write into the instrument.
std::string LockPath(const JournalPlace& place, const GeneralSettings& g) {
  return JournalFolder(place.dir) + "/" + DeviceNumber(g) +
         (place.qualifier.empty() ? "" : "@" + place.qualifier) + ".lock";
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

// "0:6,0:9": the channel index and field number of every scoped parameter.
std::string ScopeText(const std::vector<WrittenParameter>& scope) {
  std::string out;
  for (const WrittenParameter& p : scope)
    out += (out.empty() ? "" : ",") + std::to_string(p.channel) + ":" +
           std::to_string(static_cast<int>(p.field));
  return out;
}

// The scope of ScopeText; false for anything else, or an empty one.
bool ParseScope(std::string_view text, std::vector<WrittenParameter>& scope) {
  scope.clear();
  while (!text.empty()) {
    const std::string_view item = text.substr(0, text.find(','));
    text.remove_prefix(std::min(text.size(), item.size() + 1));
    const auto colon = item.find(':');
    int channel = -1, field = -1;
    if (colon == std::string_view::npos || !ParseInt(item.substr(0, colon), channel) ||
        !ParseInt(item.substr(colon + 1), field) || channel < 0 || channel > 1 || field < 0 ||
        field >= kChannelFieldCount)
      return false;
    scope.push_back({channel, static_cast<ChannelField>(field), nullptr});
  }
  return !scope.empty();
}

// The entry's text: one "key=value" a line, the version first.
std::string EntryText(const std::tm& started, const GeneralSettings& g,
                      const std::string& backup_path, const SettingsPrint& print,
                      const std::vector<WrittenParameter>& scope) {
  const int version = scope.empty() ? kPlainJournalVersion : kJournalVersion;
  return "version=" + std::to_string(version) + "\nstarted=" + StoredTime(started) +
         "\nproc_ver=" + std::to_string(g.proc_ver) + "\notk_type=" + std::to_string(g.otk_type) +
         "\nserial_lo=" + std::to_string(g.serial_lo) +
         "\nserial_hi=" + std::to_string(g.serial_hi) + "\nbackup=" + backup_path +
         "\nsettings_size=" + std::to_string(print.size) + "\nsettings_hash=" + print.hash + "\n" +
         (scope.empty() ? "" : "scope=" + ScopeText(scope) + "\n");
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
  if (version < 3) return {};
  const auto scope = keys.find("scope");
  if (scope == keys.end() || !ParseScope(scope->second, entry.scope))
    return app_texts::kJournalDamaged;
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

JournalPlace::JournalPlace(std::string dir, const std::string& line, std::uint32_t address)
    : dir(std::move(dir)) {
  for (const char c : line)
    qualifier += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
  qualifier += "." + std::to_string(address);
}

std::string JournalEntryPath(const JournalPlace& place, const DeviceSettings& instrument) {
  return FoundStem(place, instrument.general) + std::string(kEntryExtension);
}

ExchangeResult TakeJournalLock(const JournalPlace& place, const DeviceSettings& instrument,
                               Operator& op, JournalLock& lock) {
  const std::string folder = JournalFolder(place.dir);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return NotSaved(op, folder, SystemReason(error.value()));
  const std::string lock_path = LockPath(place, instrument.general);
  std::string reason;
  switch (lock.Take(lock_path, reason)) {
    case JournalLock::Taking::kHeldElsewhere:
      return Refuse(op, app_texts::kWriteRunningElsewhere + JournalEntryPath(place, instrument));
    case JournalLock::Taking::kFailed: return NotSaved(op, lock_path, reason);
    case JournalLock::Taking::kTaken: break;
  }
  return result::kOk;
}

ExchangeResult OpenJournalEntry(const JournalPlace& place, const DeviceSettings& instrument,
                                const DeviceSettings& target, const std::string& backup_path,
                                Operator& op, JournalLock& lock,
                                const std::vector<WrittenParameter>& scope) {
  if (ExchangeResult r = TakeJournalLock(place, instrument, op, lock)) return r;
  const std::string& working_dir = place.dir;
  const std::string path = Stem(place, instrument.general) + std::string(kEntryExtension);
  std::string reason;
  JournalEntry earlier;
  std::string problem;
  std::string backup = backup_path;
  switch (FindJournalEntry(place, instrument, earlier, problem)) {
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
  const std::string settings_path = Stem(place, g) + std::string(kSettingsExtension);
  const std::string earlier_stem = FoundStem(place, g);
  if (!SaveTarget(settings_path, target, g, started, reason))
    return NotSaved(op, settings_path, reason);
  SettingsPrint print;
  if (!PrintOf(settings_path, print)) return NotSaved(op, settings_path, SystemReason(errno));
  // The entry goes last: once it is on the disk, so are its settings.
  if (!ReplaceFileAtomically(path, EntryText(started, g, backup, print, scope), reason))
    return NotSaved(op, path, reason);
  // The instrument's earlier entry, kept under another model, is replaced.
  if (earlier_stem != Stem(place, g)) RemoveEntry(working_dir, earlier_stem);
  return result::kOk;
}

void CloseJournalEntry(const JournalPlace& place, const DeviceSettings& instrument) {
  RemoveEntry(place.dir, FoundStem(place, instrument.general));
}

JournalState FindJournalEntry(const JournalPlace& place, const DeviceSettings& instrument,
                              JournalEntry& entry, std::string& problem) {
  const std::string path = JournalEntryPath(place, instrument);
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

DeviceSettings WithEntryScope(const DeviceSettings& now, const JournalEntry& entry) {
  DeviceSettings target = now;
  for (const WrittenParameter& p : entry.scope) {
    const ChannelParameter& row = ChannelParameterOf(p.field);
    ChannelSettings& to = target.channel[p.channel];
    const ChannelSettings& from = entry.settings.channel[p.channel];
    if (row.width == ParameterWidth::kByte)
      to.*row.byte_field = from.*row.byte_field;
    else
      to.*row.float_field = from.*row.float_field;
  }
  return target;
}

std::string UnfinishedWriteSentence(const JournalEntry& entry) {
  const std::tm& at = entry.started;
  return app_texts::kUnfinishedWriteStart + DeviceNumber(entry.instrument) +
         app_texts::kUnfinishedWriteBegun + TwoDigits(at.tm_mday) + "." + TwoDigits(at.tm_mon + 1) +
         "." + std::to_string(at.tm_year + 1900) + app_texts::kUnfinishedWriteAt +
         TwoDigits(at.tm_hour) + ":" + TwoDigits(at.tm_min) + app_texts::kUnfinishedWriteEnd;
}

}  // namespace zrm
