#include "gateway/gateway_ini.h"

#include "gateway/gateway_texts.h"
#include "platform/cp1251.h"
#include "platform/number_text.h"

namespace zrm {
namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!IsNameChar(c)) return false;
  return true;
}

std::string_view WithoutComment(std::string_view line) {
  const std::size_t semicolon = line.find(';');
  return TrimBlanks(semicolon == std::string_view::npos ? line : line.substr(0, semicolon));
}

// One meaningful line: a section header or key=value; `whole` is the line
// with its comment.
bool ReadLine(std::string_view text, std::string_view whole, int number,
              std::vector<IniSection>& sections, ConfigError& error) {
  namespace t = gateway_texts;
  if (text.front() == '[') {
    if (text.back() != ']' || !IsName(TrimBlanks(text.substr(1, text.size() - 2)))) {
      error = {number, t::kBadSection};
      return false;
    }
    sections.push_back({number, std::string(TrimBlanks(text.substr(1, text.size() - 2))), {}});
    return true;
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos || !IsName(TrimBlanks(text.substr(0, equals)))) {
    error = {number, t::kNotKeyValue};
    return false;
  }
  if (sections.empty()) {
    error = {number, t::kKeyOutsideSection};
    return false;
  }
  const std::string_view value = TrimBlanks(text.substr(equals + 1));
  if (value.size() > kMostValueBytes) {
    error = {number, t::kValueTooLong};
    return false;
  }
  // The first "=" of the whole line is the one found: a comment comes after it.
  const std::string_view uncut = TrimBlanks(whole.substr(whole.find('=') + 1));
  sections.back().entries.push_back({number, std::string(TrimBlanks(text.substr(0, equals))),
                                     std::string(value), std::string(uncut)});
  return true;
}

}  // namespace

bool ReadIni(std::string_view text, std::vector<IniSection>& sections, ConfigError& error) {
  namespace t = gateway_texts;
  if (text.empty()) {
    error = {0, t::kEmptyFile};
    return false;
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    // A NUL would cut a value where C strings end; other encodings would
    // turn into replacement characters in topics and logs.
    if (raw.find('\0') != std::string_view::npos) {
      error = {number, t::kNulByte};
      return false;
    }
    if (!IsValidUtf8(raw)) {
      error = {number, t::kNotUtf8};
      return false;
    }
    const std::string_view line = WithoutComment(raw);
    if (!line.empty() && !ReadLine(line, raw, number, sections, error)) return false;
  }
  return true;
}

}  // namespace zrm
