#pragma once
// The plan of a production batch: a CSV file with the header
// "device,address,action,profile" (columns in any order) and one job per row.
// Rows with the same device share one line (an RS-485 bus) and run in turn.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zrm {

enum class BatchAction { kRead, kWrite, kChanges, kVerify, kReport };

struct PlanRow {
  std::size_t line = 0;  // in the plan file, for messages
  std::string device;
  std::uint32_t address = 1;
  BatchAction action = BatchAction::kRead;
  std::string profile;  // write, changes, verify: the profile; read: the file to save (optional)
};

// "read", "write", "changes", "verify", "report".
std::string_view ActionName(BatchAction action);

// The rows of the plan's text. False with "строка N: why" in `error` for a
// missing column, an unknown action, an address outside 1..255, a device or a
// needed profile left empty; blank lines are skipped.
bool ParsePlan(std::string_view text, std::vector<PlanRow>& rows, std::string& error);

// The fields of one CSV line: separated by commas, double quotes around a
// field that holds commas or quotes ("" inside is one quote), spaces around
// fields dropped.
std::vector<std::string> CsvFields(std::string_view line);

// `field` as a CSV field: quoted when it holds a comma, a quote or a line
// break.
std::string CsvField(std::string_view field);

}  // namespace zrm
