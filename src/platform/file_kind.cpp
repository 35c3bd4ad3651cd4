#include "platform/file_kind.h"

#include <sys/stat.h>

#include "platform/platform_texts.h"

namespace zrm {

namespace {

std::string NotRegularFileReason(mode_t mode) {
  using namespace platform_texts;
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return kIsFolder;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return kIsDevice;
  if (S_ISFIFO(mode)) return kIsPipe;
  return kIsSocket;  // the one kind left that stat() gives
}

}  // namespace

bool LargerThan(const std::string& path, std::uintmax_t bytes) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && static_cast<std::uintmax_t>(info.st_size) > bytes;
}

std::string NotRegularFileAt(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return NotRegularFileReason(info.st_mode);
}

}  // namespace zrm
