#include "platform/private_profile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/atomic_file.h"
#include "platform/cp1251.h"
#include "platform/file_kind.h"
#include "platform/number_text.h"
#include "platform/system_reason.h"

namespace zrm {

namespace {

// A value arrives through a buffer of 1024 characters, the last one the
// terminating zero.
constexpr std::size_t kMaxValueChars = 1023;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool HasNonAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The file's bytes as UTF-8: cp1251 unless the file says or shows it is UTF-8.
// Malformed sequences in a UTF-8 file become "?".
std::string DecodeFile(std::string_view bytes) {
  const bool bom = bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
  if (bom) bytes.remove_prefix(kUtf8Bom.size());
  const bool valid_utf8 = IsValidUtf8(bytes);
  if (valid_utf8 && (bom || HasNonAscii(bytes))) return std::string(bytes);
  if (bom) return Cp1251ToUtf8(Utf8ToCp1251(bytes));
  return Cp1251ToUtf8(bytes);
}

// A name or value must stay on its own line.
std::string OneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

}  // namespace

PrivateProfile::PrivateProfile(std::string path) : path_(std::move(path)) {}

PrivateProfile PrivateProfile::Load(const std::string& path) {
  PrivateProfile profile(path);
  // A pipe or a device would block the read or never end; it is no profile.
  profile.read_error_ = NotRegularFileAt(path);
  if (!profile.read_error_.empty() || !FileExists(path)) return profile;
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  if (in) bytes << in.rdbuf();
  if (!in || in.bad()) {
    profile.read_error_ = SystemReason(errno ? errno : EIO);
    return profile;
  }
  profile.Parse(DecodeFile(bytes.str()));
  profile.existed_ = true;
  return profile;
}

void PrivateProfile::Parse(std::string_view text) {
  sections_.assign(1, Section{});
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(start, end - start);
    start = end + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    const std::string_view trimmed = TrimBlanks(raw);
    if (!trimmed.empty() && trimmed.front() == '[') {
      const std::string_view inner = trimmed.substr(1, trimmed.find(']') - 1);
      sections_.push_back(Section{true, std::string(TrimBlanks(inner)), std::string(raw), {}});
      continue;
    }
    Line line{std::string(raw), {}, {}};
    const auto equals = trimmed.find('=');
    if (equals != std::string_view::npos && trimmed.front() != ';') {
      line.key = TrimBlanks(trimmed.substr(0, equals));
      line.value = TrimBlanks(trimmed.substr(equals + 1));
    }
    sections_.back().lines.push_back(std::move(line));
  }
}

std::string PrivateProfile::Serialize() const {
  std::string text;
  for (const Section& section : sections_) {
    if (section.headed) text += section.header + "\r\n";
    for (const Line& line : section.lines) text += line.text + "\r\n";
  }
  return Utf8ToCp1251(text);
}

PrivateProfile::Section* PrivateProfile::FindSection(const std::string& name) {
  const std::string wanted(TrimBlanks(name));
  for (Section& section : sections_)
    if (section.headed && SameName(section.name, wanted)) return &section;
  return nullptr;
}

const PrivateProfile::Section* PrivateProfile::FindSection(const std::string& name) const {
  return const_cast<PrivateProfile*>(this)->FindSection(name);
}

bool PrivateProfile::HasKey(const std::string& section, const std::string& key) const {
  const Section* found = FindSection(section);
  if (!found) return false;
  const std::string_view wanted = TrimBlanks(key);
  return std::any_of(found->lines.begin(), found->lines.end(), [&](const Line& line) {
    return !line.key.empty() && SameName(line.key, wanted);
  });
}

std::string PrivateProfile::GetString(const std::string& section, const std::string& key,
                                      const std::string& fallback) const {
  const Section* found = FindSection(section);
  const std::string_view wanted = TrimBlanks(key);
  if (found) {
    for (const Line& line : found->lines)
      if (!line.key.empty() && SameName(line.key, wanted))
        return std::string(Utf8Prefix(line.value, kMaxValueChars));
  }
  return std::string(Utf8Prefix(fallback, kMaxValueChars));
}

int PrivateProfile::LineOf(const std::string& section, const std::string& key) const {
  const Section* found = FindSection(section);
  const std::string_view wanted = TrimBlanks(key);
  int line = 0;
  for (const Section& s : sections_) {
    line += s.headed ? 1 : 0;
    for (const Line& l : s.lines) {
      ++line;
      if (&s == found && !l.key.empty() && SameName(l.key, wanted)) return line;
    }
  }
  return 0;
}

void PrivateProfile::SetString(const std::string& section, const std::string& key,
                               const std::string& value) {
  const std::string section_name(TrimBlanks(OneLine(section)));
  const std::string key_name(TrimBlanks(OneLine(key)));
  const std::string text = OneLine(value);
  const std::string stored(TrimBlanks(text));

  Section* found = FindSection(section_name);
  if (!found) {
    sections_.push_back(Section{true, section_name, "[" + section_name + "]", {}});
    found = &sections_.back();
  }
  auto& lines = found->lines;
  for (Line& line : lines) {
    if (line.key.empty() || !SameName(line.key, key_name)) continue;
    // The key keeps the spelling the file gave it.
    const std::string replaced = line.key + "=" + text;
    if (line.text != replaced) modified_ = true;
    line.text = replaced;
    line.value = stored;
    return;
  }
  const auto last_key = std::find_if(lines.rbegin(), lines.rend(),
                                     [](const Line& line) { return !line.key.empty(); });
  lines.insert(last_key.base(), Line{key_name + "=" + text, key_name, stored});
  modified_ = true;
}

bool PrivateProfile::Save(std::string& error) {
  // Replacing a file whose content is unknown would lose it.
  if (!read_error_.empty()) {
    error = read_error_;
    return false;
  }
  if (!ReplaceFileAtomically(path_, Serialize(), error)) return false;
  existed_ = true;
  modified_ = false;
  return true;
}

void ClearFileAttributes(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace zrm
