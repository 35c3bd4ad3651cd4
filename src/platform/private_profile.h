#pragma once
// Private-profile (INI) files with the observable behaviour of the Windows
// profile-string functions: section and key names match without regard to
// case, blanks around names and values are trimmed, a missing file, section or
// key yields the caller's default, a value arrives with at most 1023
// characters; a write replaces an existing key in place, appends a new key at
// the end of its section and a new section at the end of the file. On disk the
// text is cp1251 with CR LF line ends; in memory it is UTF-8.
//
// The file is read once into memory, changed there key by key, and written
// back as a whole with Save(), which replaces the file atomically (temporary
// file beside it, flush, rename), so a failed or interrupted write never
// leaves a half-written file.

#include <string>
#include <vector>

namespace zrm {

class PrivateProfile {
 public:
  // An empty profile bound to `path`; nothing is read.
  explicit PrivateProfile(std::string path);

  // Reads `path`; a missing or unreadable file gives an empty profile.
  static PrivateProfile Load(const std::string& path);

  const std::string& Path() const { return path_; }

  // True when the file existed and was read by Load().
  bool ExistedOnDisk() const { return existed_; }

  // True when section/key is present. The first occurrence of a duplicated
  // section or key is the one that counts.
  bool HasKey(const std::string& section, const std::string& key) const;

  // The value of section/key, or `fallback` when it is missing; at most 1023
  // characters of the stored value.
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& fallback) const;

  // Sets section/key in memory (in place, or appended as described above).
  void SetString(const std::string& section, const std::string& key,
                 const std::string& value);

  // True when the in-memory content differs from what was read.
  bool Modified() const { return modified_; }

  // Writes the whole profile to its path atomically. On failure returns false
  // and sets `error` to the system's reason; the old file stays as it was.
  bool Save(std::string& error);

 private:
  struct Entry {
    std::string key;    // empty for a line that is not key=value (kept verbatim)
    std::string value;
    std::string raw;    // original line for non key=value lines
  };
  struct Section {
    std::string name;   // empty name: lines before the first section
    std::vector<Entry> entries;
  };

  Section* FindSection(const std::string& name);
  const Section* FindSection(const std::string& name) const;

  std::string path_;
  std::vector<Section> sections_;
  bool existed_ = false;
  bool modified_ = false;
};

// Clears the read-only state of a file so it can be replaced; a missing file
// is no error.
void ClearFileAttributes(const std::string& path);

// True when a file exists at `path`.
bool FileExists(const std::string& path);

}  // namespace zrm
