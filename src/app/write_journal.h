#pragma once
// The write journal: before the first frame of a write into an instrument,
// an entry naming the instrument, the moment, the settings being written
// and the backup taken before it is saved under journal/ in the working
// folder; it is removed only when the write ended with success. An entry
// that remains is a write that stopped midway (ESC, a lost line, a crash),
// which the program can then complete or roll back.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "app/journal_lock.h"
#include "link/exchange_result.h"
#include "platform/operator.h"
#include "settings/device_settings.h"
#include "settings/written_parameters.h"

namespace zrm {

// Where a write's journal lives: the working folder and, for a program that
// writes instruments on several lines at once, the line and address that
// tell two instruments of one serial number apart. The window and zrm48ctl
// write one instrument at a time and give the folder alone.
struct JournalPlace {
  JournalPlace(std::string dir) : dir(std::move(dir)) {}  // NOLINT: a folder is a place
  JournalPlace(const char* dir) : dir(dir) {}             // NOLINT
  // "LINE1" and 3 qualify the entry as "@LINE1.3"; characters other than
  // letters, digits, "-" and "_" in the line's name become "_".
  JournalPlace(std::string dir, const std::string& line, std::uint32_t address);

  std::string dir;
  std::string qualifier;  // "LINE1.3", or empty
};

// One unfinished write.
struct JournalEntry {
  std::tm started{};           // local time the write began
  GeneralSettings instrument;  // its type, prefix and serial number
  DeviceSettings settings;     // the settings being written
  std::string backup_path;     // the instrument's settings before it; empty when none
  // Empty: `settings` is the whole record being written. Otherwise the only
  // parameters of `settings` that were read and written (the write of one
  // parameter); every other value in it means nothing.
  std::vector<WrittenParameter> scope;
};

// What the journal holds for one instrument.
enum class JournalState {
  kNone,        // no unfinished write
  kUnfinished,  // an entry that was read
  kDamaged,     // an entry that cannot be read; it is kept and never acted on
};

// The folder of the journal: working_dir/journal.
std::string JournalFolder(const std::string& working_dir);

// The entry of the instrument (type, prefix, serial number):
// working_dir/journal/ZRM4813-047-12345.journal, with a qualified place
// ZRM4813-047-12345@LINE1.3.journal; its settings are the profile of the
// same name with ".prf". Without a qualifier, an entry kept under another
// model of the instrument, or under a line's qualifier, is found too (the
// first in name order), so that the instrument taken to the bench finds
// what a gateway left.
std::string JournalEntryPath(const JournalPlace& place, const DeviceSettings& instrument);

// Saves the entry of `instrument` for a write of `target` begun now, with
// `backup_path` (may be empty), each file whole and flushed to the disk with
// its folder before this returns. An entry left by an earlier unfinished
// write is replaced (and noticed to the user), but its backup is kept when
// it had one: that is how the instrument was before any of them. An entry that cannot be read is
// kept and refuses the write. First takes `lock` for the instrument, which the caller holds until
// the write has ended: a write running into the same instrument from another program holds it, and
// this one is refused with the entry's path. On failure tells the user where and why and returns
// kFile; the write must then not start.
// With a `scope`, only those parameters of `target` are being written, and
// only they are ever written from the entry.
ExchangeResult OpenJournalEntry(const JournalPlace& place, const DeviceSettings& instrument,
                                const DeviceSettings& target, const std::string& backup_path,
                                Operator& op, JournalLock& lock,
                                const std::vector<WrittenParameter>& scope = {});

// Takes `lock` for the instrument (prefix and serial number) for a write
// that needs no new entry (the closing writes of an unfinished one): held
// elsewhere or unusable, it tells the user and returns kFile. The lock's file
// goes when the lock does, and with it one left by a program that died.
ExchangeResult TakeJournalLock(const JournalPlace& place, const DeviceSettings& instrument,
                               Operator& op, JournalLock& lock);

// Removes the entry of `instrument` and its settings after a write that
// ended with success. A file that cannot be removed stays; it then reports
// a write that did end, which is the safe side.
void CloseJournalEntry(const JournalPlace& place, const DeviceSettings& instrument);

// Looks for the entry of `instrument`. kUnfinished fills `entry`; kDamaged
// sets `problem` to the message naming the file and what is wrong with it.
JournalState FindJournalEntry(const JournalPlace& place, const DeviceSettings& instrument,
                              JournalEntry& entry, std::string& problem);

// `now` (the instrument as just read whole) with the entry's scoped
// parameters taken from its settings: what completing a scoped write sends.
DeviceSettings WithEntryScope(const DeviceSettings& now, const JournalEntry& entry);

// "Запись в прибор 047-12345, начатая 08.12.2026 в 12:01, не завершена."
std::string UnfinishedWriteSentence(const JournalEntry& entry);

}  // namespace zrm
