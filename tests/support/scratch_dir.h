#pragma once
// A fresh, empty directory for one test, removed with everything in it when
// the test ends; plus whole-file byte helpers for comparing files exactly.

#include <string>
#include <vector>

namespace zrm::test {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }

  // Path of `name` inside the directory.
  std::string File(const std::string& name) const { return path_ + "/" + name; }

  // Names of the entries of the directory, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

// Replaces the content of a file (test set-up only).
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace zrm::test
