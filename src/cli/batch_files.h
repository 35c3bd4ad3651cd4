#pragma once
// The files the rows of one batch write (read's profiles, report's
// certificates), so that no row overwrites a file another row wrote: two
// instruments with the same type, prefix and serial on two lines each keep
// their own file.

#include <cstdint>
#include <mutex>
#include <set>
#include <string>

namespace zrm {

class BatchFiles {
 public:
  // Claims `path` for a row on `device` at `address` and returns it; when a
  // row of this batch has claimed it before, claims and returns
  // "<stem>-<device>-addr<address><ext>" instead (the device's path with
  // "/dev/" dropped and other characters than letters, digits, '.' and '-'
  // as '_'), with "-2", "-3", … added while that is taken too. Safe from
  // several threads.
  std::string Claim(const std::string& path, const std::string& device, std::uint32_t address);

 private:
  std::mutex mutex_;
  std::set<std::string> claimed_;  // absolute, normalised paths
};

}  // namespace zrm
