#include "cli/batch_resume.h"

#include <algorithm>
#include <map>

#include "platform/content_hash.h"

namespace zrm {

namespace {

// The profile's hash as --resume compares it; each profile is read once.
class ProfileHashes {
 public:
  std::string Of(const PlanRow& row) {
    if (!NeedsProfile(row.action)) return {};
    const auto known = hashes_.find(row.profile);
    if (known != hashes_.end()) return known->second;
    return hashes_[row.profile] = FileContentHash(row.profile);
  }

 private:
  std::map<std::string, std::string> hashes_;
};

// True when `row` is one of the rows that succeeded before with the profile
// as it is now; that success is then used up.
bool TakeEarlierSuccess(const PlanRow& row, SucceededRows& succeeded, ProfileHashes& profiles) {
  if (succeeded.empty()) return false;
  const auto done = succeeded.find({row.device, row.address, row.action_text, profiles.Of(row)});
  if (done == succeeded.end() || done->second == 0) return false;
  --done->second;
  return true;
}

BusLine& LineOf(const std::string& device, std::vector<std::unique_ptr<BusLine>>& lines) {
  const auto line =
      std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l->device == device; });
  if (line != lines.end()) return **line;
  lines.push_back(std::make_unique<BusLine>());
  lines.back()->device = device;
  return *lines.back();
}

}  // namespace

BatchLines LinesToRun(const std::vector<PlanRow>& rows, SucceededRows succeeded) {
  BatchLines to_run;
  ProfileHashes profiles;
  for (const PlanRow& row : rows) {
    if (TakeEarlierSuccess(row, succeeded, profiles))
      ++to_run.skipped;
    else
      LineOf(row.device, to_run.lines).rows.push_back(row);
  }
  return to_run;
}

SucceededRows EarlierSuccesses(const std::string& path, const LoadedPlan& plan, CliOperator& op) {
  std::string warning;
  SucceededRows succeeded = ReadSucceededRows(path, plan.path, plan.hash, warning);
  if (!warning.empty()) op.Tell(warning);
  return succeeded;
}

}  // namespace zrm
