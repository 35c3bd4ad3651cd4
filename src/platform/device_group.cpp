#include "platform/device_group.h"

#include <grp.h>
#include <sys/stat.h>

#include <vector>

namespace zrm {

namespace {

// Serial devices on Debian belong to this group unless udev says otherwise.
constexpr const char* kUsualSerialGroup = "dialout";

}  // namespace

std::string OwningGroup(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return kUsualSerialGroup;
  std::vector<char> buffer(4096);
  struct group entry {};
  struct group* found = nullptr;
  if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
    return found->gr_name;
  return std::to_string(info.st_gid);
}

std::string JoinGroupCommand(const std::string& group) {
  return "sudo usermod -aG " + group + " $USER";
}

}  // namespace zrm
