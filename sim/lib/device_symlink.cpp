#include "lib/device_symlink.h"

#include <filesystem>
#include <system_error>

namespace zrm::sim {

namespace fs = std::filesystem;

bool CreateDeviceSymlink(const std::string& link, const std::string& target, std::string& error) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(link, ec);
  if (fs::exists(status)) {
    if (!fs::is_symlink(status)) {
      error = link + " exists and is not a symbolic link";
      return false;
    }
    fs::remove(link, ec);
  }
  fs::create_symlink(target, link, ec);
  if (ec) {
    error = "cannot create " + link + ": " + ec.message();
    return false;
  }
  return true;
}

void RemoveDeviceSymlink(const std::string& link, const std::string& target) {
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(link, ec)) && fs::read_symlink(link, ec) == target) {
    fs::remove(link, ec);
  }
}

}  // namespace zrm::sim
