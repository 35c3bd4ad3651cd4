#pragma once
// The configuration file's INI text split into sections and keys, each with
// its line number, so that every refusal can name the line it is about.

#include <string>
#include <string_view>
#include <vector>

namespace zrm {

struct IniEntry {
  int line = 0;  // 1-based
  std::string key;
  std::string value;  // blanks and the comment removed
  // The value with everything after it on its line, ";" included, blanks
  // removed: for a key whose values are separated by ";" (Units).
  std::string uncut;
};

struct IniSection {
  int line = 0;
  std::string name;  // as written
  std::vector<IniEntry> entries;
};

// A refusal: the line (0 when it is about the whole file) and what is wrong.
struct ConfigError {
  int line = 0;
  std::string message;
};

// The longest value a key may have, in bytes.
inline constexpr std::size_t kMostValueBytes = 255;

// Splits `text` into sections. ";" starts a comment anywhere on a line;
// blanks around names and values are dropped; a UTF-8 byte order mark is
// skipped. False with `error` on an empty text, on a line that holds a NUL
// byte or is not UTF-8, that is neither a section header nor key=value,
// on a bad section name, a key before any section and a value longer than
// kMostValueBytes (`uncut` is not limited here: its key checks it).
bool ReadIni(std::string_view text, std::vector<IniSection>& sections, ConfigError& error);

}  // namespace zrm
