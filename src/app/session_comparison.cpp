// The session's device jobs of the comparison with the instrument and of
// the backups; each opens the port again first, as Read and Write do.

#include <unistd.h>

#include <cerrno>

#include "app/app_texts.h"
#include "app/backup_command.h"
#include "app/compare_command.h"
#include "app/session.h"
#include "app/write_command.h"
#include "editor/editor_binding.h"
#include "platform/file_kind.h"
#include "platform/system_reason.h"
#include "profiles/profile_file.h"

namespace zrm {

ExchangeResult Session::Compare(EditorForm& job_form, DeviceSettings& s, Operator& op,
                                DeviceSettings& instrument,
                                std::vector<SettingDifference>& differences) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  const ExchangeResult r = CompareCommand(job_form, s, *link_, op, instrument, differences);
  RecordRead("compare", r, instrument, op);
  return r;
}

namespace {

// Why the file at `path` cannot be compared with the instrument; empty when
// it is a whole profile.
std::string ProfileProblem(const std::string& path) {
  if (std::string kind = NotRegularFileAt(path); !kind.empty()) return kind;
  if (::access(path.c_str(), R_OK) != 0) return SystemReason(errno);
  if (!HoldsEveryProfileKey(path)) return app_texts::kNotWholeProfile;
  return {};
}

}  // namespace

ExchangeResult Session::CompareWithProfile(const std::string& path, const EditorForm& form,
                                           const DeviceSettings& s, Operator& op,
                                           DeviceSettings& instrument,
                                           std::vector<SettingDifference>& differences) {
  differences.clear();
  if (const std::string problem = ProfileProblem(path); !problem.empty()) {
    op.ShowMessage(app_texts::kProfileNotCompared + path + ": " + problem,
                   app_texts::kCompareCaption, MessageIcon::kError);
    return result::kFile;
  }
  EditorForm profile_form = form;
  DeviceSettings profile = s;
  const DescriptionLines lines = ReadProfile(path, profile);
  profile_form.description.assign(lines.begin(), lines.end());
  SettingsToEditor(profile, profile_form, config_.port_number);
  return Compare(profile_form, profile, op, instrument, differences);
}

ExchangeResult Session::WriteChanges(EditorForm& job_form, DeviceSettings& s, Operator& op,
                                     ChangesWriteOutcome& outcome) {
  return WriteChangesAs("changes", job_form, s, op, outcome);
}

ExchangeResult Session::WriteChangesAs(const std::string& action, EditorForm& job_form,
                                       DeviceSettings& s, Operator& op,
                                       ChangesWriteOutcome& outcome) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  HistoryEvent opening;
  if (!OpenWriteEvent(action, op, opening)) return result::kFile;
  const ExchangeResult r = WriteChangesCommand(job_form, s, *link_, op, Backups(), outcome);
  CloseWriteEvent(opening, r, outcome.instrument, WrittenChanges(outcome, s),
                  outcome.backup_path, op);
  return r;
}

ExchangeResult Session::WriteWithBackup(EditorForm& job_form, DeviceSettings& s, Operator& op,
                                        std::string& backup_path, DeviceSettings& instrument) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  HistoryEvent opening;
  if (!OpenWriteEvent("write-with-backup", op, opening)) return result::kFile;
  const ExchangeResult r =
      WriteCommandWithBackup(job_form, s, *link_, op, Backups(), backup_path, instrument);
  // A whole write that stopped midway cannot say which values went in.
  CloseWriteEvent(opening, r, instrument,
                  r == result::kOk ? ChangesBetween(instrument, s) : std::vector<ParameterChange>{},
                  backup_path, op);
  return r;
}

ExchangeResult Session::Backup(EditorForm& job_form, DeviceSettings& s, Operator& op,
                               std::string& path) {
  if (!PortReadyFor(op)) return result::kNoAnswer;
  const ExchangeResult r = BackupCommand(job_form, s, *link_, op, Backups(), path);
  RecordRead("backup", r, s, op);
  return r;
}

}  // namespace zrm
