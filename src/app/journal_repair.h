#pragma once
// Ending an unfinished write in one action: completing it (the settings the
// write was sending) or rolling it back (the backup taken before it). Both
// are then ordinary writes of changes, journalled like any write.

#include <string>

#include "app/write_journal.h"
#include "settings/device_settings.h"

namespace zrm {

enum class RepairKind { kResume, kRollback };

// What the journal allows for the instrument.
enum class RepairFinding {
  kReady,              // `target` holds the settings to write
  kNothingUnfinished,  // no entry for this instrument
  kNoBackup,           // a rollback without a backup, or with one that is gone
  kDamaged,            // the entry cannot be read; nothing is written from it
};

struct RepairPlan {
  RepairKind kind = RepairKind::kResume;
  RepairFinding finding = RepairFinding::kNothingUnfinished;
  JournalEntry entry;     // with kReady, kNoBackup
  DeviceSettings target;  // with kReady: carries the instrument's serial number
  std::string problem;    // with kDamaged: the file and what is wrong with it
};

// Looks up the journal of `working_dir` for `instrument` and chooses what a
// repair of `kind` writes: the entry's settings, or its backup read as a
// profile (left exactly as it is).
RepairPlan PlanRepair(const std::string& working_dir, const DeviceSettings& instrument,
                      RepairKind kind);

// The message for a finding other than kReady, naming the instrument.
std::string RepairRefusal(const RepairPlan& plan, const DeviceSettings& instrument);

}  // namespace zrm
