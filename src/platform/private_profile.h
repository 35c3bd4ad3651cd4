#pragma once
// Private-profile (INI) files with the observable behaviour of the Windows
// profile-string functions: section and key names match without regard to
// case, blanks around names and values are trimmed, a missing file, section or
// key yields the caller's default, a value arrives with at most 1023
// characters; a write replaces an existing key in place, appends a new key
// after the last key of its section and a new section at the end of the file.
// On disk the text is cp1251 with CR LF line ends; in memory it is UTF-8.
// A file that starts with a UTF-8 byte order mark, or that is well-formed
// UTF-8 with non-ASCII characters, is read as UTF-8 (a copy edited on Linux).
//
// The file is read once into memory, changed there key by key, and written
// back as a whole with Save(), which replaces the file atomically (temporary
// file beside it, flush, rename), so a failed or interrupted write never
// leaves a half-written file. Lines the program does not change are written
// back as they were read.

#include <string>
#include <string_view>
#include <vector>

namespace zrm {

class PrivateProfile {
 public:
  // An empty profile bound to `path`; nothing is read.
  explicit PrivateProfile(std::string path);

  // Reads `path`; a missing or unreadable file gives an empty profile. A
  // file that exists but cannot be read, or is no regular file (a device or
  // a pipe is not read at all), is never replaced by Save().
  static PrivateProfile Load(const std::string& path);

  const std::string& Path() const { return path_; }

  // True when the file existed and was read by Load().
  bool ExistedOnDisk() const { return existed_; }

  // True when section/key is present. The first occurrence of a duplicated
  // section or key is the one that counts.
  bool HasKey(const std::string& section, const std::string& key) const;

  // The value of section/key, or `fallback` when it is missing; at most 1023
  // characters of either.
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& fallback) const;

  // The line (1-based) of the file that GetString reads section/key from;
  // 0 when the key is missing.
  int LineOf(const std::string& section, const std::string& key) const;

  // Sets section/key in memory (in place, or appended as described above).
  // Line breaks inside the value become blanks so a value never adds lines.
  void SetString(const std::string& section, const std::string& key,
                 const std::string& value);

  // True when the in-memory content differs from what was read.
  bool Modified() const { return modified_; }

  // Writes the whole profile to its path atomically. On failure returns false
  // and sets `error` to the system's reason; the old file stays as it was. A
  // file without any write permission counts as read-only and is not
  // replaced (call ClearFileAttributes first to allow it).
  bool Save(std::string& error);

 private:
  // One line of the file without its line end. A key line also carries its
  // trimmed name and value.
  struct Line {
    std::string text;
    std::string key;  // empty when the line is no key=value line
    std::string value;
  };
  struct Section {
    bool headed = false;  // false only for the lines before the first section
    std::string name;     // trimmed name between the brackets
    std::string header;   // the header line as read
    std::vector<Line> lines;
  };

  void Parse(std::string_view utf8_text);
  std::string Serialize() const;
  Section* FindSection(const std::string& name);
  const Section* FindSection(const std::string& name) const;

  std::string path_;
  std::vector<Section> sections_;
  bool existed_ = false;
  bool modified_ = false;
  std::string read_error_;  // why an existing file could not be read
};

// Clears the read-only state of a regular file (gives its owner write
// permission) so it can be replaced; a missing file is no error, and a
// device, pipe or folder is left as it is.
void ClearFileAttributes(const std::string& path);

// True when a file (not a directory) exists at `path`.
bool FileExists(const std::string& path);

}  // namespace zrm
