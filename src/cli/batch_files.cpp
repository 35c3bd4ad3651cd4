#include "cli/batch_files.h"

#include <filesystem>

namespace zrm {

namespace {

namespace fs = std::filesystem;

// The device as a part of a file name: "/dev/ttyUSB0" → "ttyUSB0",
// "tcp://10.0.4.21:4001" → "tcp___10.0.4.21_4001".
std::string DeviceNamePart(std::string device) {
  if (device.starts_with("/dev/")) device.erase(0, 5);
  for (char& c : device) {
    const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-';
    if (!kept) c = '_';
  }
  return device;
}

std::string Normalised(const fs::path& path) { return fs::absolute(path).lexically_normal(); }

}  // namespace

std::string BatchFiles::Claim(const std::string& path, const std::string& device,
                              std::uint32_t address) {
  std::lock_guard lock(mutex_);
  if (claimed_.insert(Normalised(path)).second) return path;
  const fs::path wanted(path);
  const std::string stem = (wanted.parent_path() / wanted.stem()).string() + "-" +
                           DeviceNamePart(device) + "-addr" + std::to_string(address);
  const std::string extension = wanted.extension().string();
  std::string other = stem + extension;
  for (int n = 2; !claimed_.insert(Normalised(other)).second; ++n)
    other = stem + "-" + std::to_string(n) + extension;
  return other;
}

}  // namespace zrm
