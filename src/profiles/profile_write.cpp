#include "profiles/profile_write.h"

#include "profiles/profile_texts.h"

namespace zrm {

std::string UnableToWriteText(const std::string& path) {
  return std::string(profile_texts::kUnableToWrite) + path;
}

bool SaveOrReport(PrivateProfile& profile, Operator& op) {
  std::string reason;
  if (profile.Save(reason)) return true;
  op.ShowMessage(UnableToWriteText(profile.Path()), std::string(profile_texts::kErrorCaption),
                 MessageIcon::kError);
  return false;
}

}  // namespace zrm
