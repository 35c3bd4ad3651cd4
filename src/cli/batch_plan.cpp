#include "cli/batch_plan.h"

#include <array>
#include <charconv>

#include "cli/cli_texts.h"

namespace zrm {

namespace {

constexpr std::array<std::string_view, 5> kActionNames = {"read", "write", "changes", "verify",
                                                          "report"};
constexpr std::array<std::string_view, 4> kColumns = {"device", "address", "action", "profile"};
constexpr std::uint32_t kMaxNetAddress = 255;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

bool ParseAction(std::string_view text, BatchAction& action) {
  for (std::size_t i = 0; i < kActionNames.size(); ++i)
    if (kActionNames[i] == text) {
      action = static_cast<BatchAction>(i);
      return true;
    }
  return false;
}

bool ParseAddress(std::string_view text, std::uint32_t& address) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), address);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size() && address >= 1 &&
         address <= kMaxNetAddress;
}

// One row from its fields, with its fault when it cannot run.
PlanRow RowOf(const std::vector<std::string>& fields, const std::vector<std::size_t>& index) {
  auto field = [&](std::size_t c) {
    return index[c] < fields.size() ? fields[index[c]] : std::string();
  };
  PlanRow row;
  row.device = field(0);
  row.profile = field(3);
  row.action_text = field(2);
  std::string& why = row.fault;
  if (row.device.empty())
    why = cli_texts::kPlanNoDevice;
  else if (!ParseAddress(field(1), row.address))
    why = cli_texts::kPlanBadAddress + field(1);
  else if (!ParseAction(row.action_text, row.action))
    why = cli_texts::kPlanBadAction + field(2);
  else if (NeedsProfile(row.action) && row.profile.empty())
    why = cli_texts::kPlanNoProfile;
  return row;
}

}  // namespace

bool HeaderColumns(const std::vector<std::string>& header, std::span<const std::string_view> names,
                   std::vector<std::size_t>& index, std::string& error) {
  index.assign(names.size(), header.size());
  for (std::size_t c = 0; c < names.size(); ++c) {
    for (std::size_t i = 0; i < header.size(); ++i) {
      if (header[i] != names[c]) continue;
      if (index[c] != header.size()) {
        error = std::string(cli_texts::kColumnTwice) + std::string(names[c]);
        return false;
      }
      index[c] = i;
    }
    if (index[c] == header.size()) {
      error = std::string(cli_texts::kPlanNoColumn) + std::string(names[c]);
      return false;
    }
  }
  return true;
}

std::vector<std::string> PlanFaults(const std::vector<PlanRow>& rows) {
  std::vector<std::string> faults;
  for (const PlanRow& row : rows)
    if (!row.fault.empty())
      faults.push_back(cli_texts::kPlanLine + std::to_string(row.line) + ": " + row.fault);
  return faults;
}

bool NeedsProfile(BatchAction action) {
  return action == BatchAction::kWrite || action == BatchAction::kChanges ||
         action == BatchAction::kVerify;
}

std::vector<std::string> CsvFields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (std::string& field : fields) field = std::string(Trimmed(field));
  return fields;
}

bool ParsePlan(std::string_view text, std::vector<PlanRow>& rows, std::string& error) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a spreadsheet's UTF-8 mark
  std::vector<std::size_t> index;
  bool header_seen = false;
  std::size_t line_number = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    ++line_number;
    if (line.empty()) continue;
    const std::vector<std::string> fields = CsvFields(line);
    if (header_seen) {
      rows.push_back(RowOf(fields, index));
      rows.back().line = line_number;
      continue;
    }
    std::string why;
    header_seen = HeaderColumns(fields, kColumns, index, why);
    if (!header_seen) {
      error = cli_texts::kPlanLine + std::to_string(line_number) + ": " + why;
      return false;
    }
  }
  if (rows.empty()) {
    error = cli_texts::kPlanEmpty;
    return false;
  }
  return true;
}

}  // namespace zrm
