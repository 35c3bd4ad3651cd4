#include "history/event_row.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace zrm {

namespace {

// Tabs and line ends inside a field escaped, so that a change stays one line
// of three fields.
std::string Escaped(const std::string& field) {
  std::string out;
  for (const char c : field) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

std::string Unescaped(std::string_view field) {
  if (field.find('\\') == std::string_view::npos) return std::string(field);
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const char c = field[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c;
  }
  return out;
}

std::string ChangesText(const std::vector<ParameterChange>& changes) {
  std::string text;
  for (const ParameterChange& c : changes)
    text += Escaped(c.name) + "\t" + Escaped(c.before) + "\t" + Escaped(c.after) + "\n";
  return text;
}

// Read without a stream: a listing parses every event's changes.
std::vector<ParameterChange> ChangesOf(std::string_view text) {
  std::vector<ParameterChange> changes;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::size_t a = line.find('\t');
    const std::size_t b = line.find('\t', a == std::string_view::npos ? a : a + 1);
    if (b == std::string_view::npos) continue;
    changes.push_back({Unescaped(line.substr(0, a)), Unescaped(line.substr(a + 1, b - a - 1)),
                       Unescaped(line.substr(b + 1))});
  }
  return changes;
}

// A number column's text; 0 for one that holds none (the columns are typed,
// so only a damaged row gets here).
template <typename Number>
Number NumberOf(const std::string& text) {
  Number value{};
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

std::vector<std::string> EventRow(const HistoryEvent& e) {
  return {e.id,
          std::to_string(e.time_ms),
          e.workstation,
          e.user,
          e.program,
          e.version,
          e.instrument_type,
          e.instrument_number,
          e.firmware,
          e.line,
          std::to_string(e.address),
          e.action,
          std::to_string(e.result),
          e.message,
          e.backup,
          e.journal,
          ChangesText(e.changes),
          e.opening_id,
          e.previous_hash,
          e.hash};
}

HistoryEvent EventOfRow(const std::function<std::string(int)>& column) {
  HistoryEvent e;
  int i = 0;
  e.id = column(i++);
  e.time_ms = NumberOf<std::int64_t>(column(i++));
  e.workstation = column(i++);
  e.user = column(i++);
  e.program = column(i++);
  e.version = column(i++);
  e.instrument_type = column(i++);
  e.instrument_number = column(i++);
  e.firmware = column(i++);
  e.line = column(i++);
  e.address = NumberOf<std::uint32_t>(column(i++));
  e.action = column(i++);
  e.result = NumberOf<int>(column(i++));
  e.message = column(i++);
  e.backup = column(i++);
  e.journal = column(i++);
  e.changes = ChangesOf(column(i++));
  e.opening_id = column(i++);
  e.previous_hash = column(i++);
  e.hash = column(i++);
  return e;
}

SchemaVersion JudgeSchemaVersion(const std::string& stored) {
  int number = 0;
  const auto [end, ec] = std::from_chars(stored.data(), stored.data() + stored.size(), number);
  if (stored.empty() || ec != std::errc() || end != stored.data() + stored.size())
    return SchemaVersion::kNotOurs;
  return number > kHistorySchemaVersion ? SchemaVersion::kNewer : SchemaVersion::kKnown;
}

}  // namespace zrm
