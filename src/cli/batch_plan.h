#pragma once
// The plan of a production batch: a CSV file with the header
// "device,address,action,profile" (columns in any order) and one job per row.
// Rows with the same device share one line (an RS-485 bus) and run in turn.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/csv_field.h"

namespace zrm {

enum class BatchAction { kRead, kWrite, kChanges, kVerify, kReport };

struct PlanRow {
  std::size_t line = 0;  // in the plan file, for messages
  std::string device;
  std::uint32_t address = 1;
  BatchAction action = BatchAction::kRead;
  std::string profile;  // write, changes, verify: the profile; read: the file to save (optional)
  std::string action_text;  // the action as the plan spells it
  std::string fault;        // why the row cannot run; empty when it is sound
};

// True for the actions that send or compare a profile: write, changes, verify.
bool NeedsProfile(BatchAction action);

// The rows of the plan's text; blank lines are skipped. A row that cannot run
// (an unknown action, an address outside 1..255, a device or a needed
// profile left empty) is kept with its fault, for PlanFaults to list. False
// with "строка N: why" in `error` when the header lacks a column or names
// one twice, or with the reason when the plan has no row.
bool ParsePlan(std::string_view text, std::vector<PlanRow>& rows, std::string& error);

// "строка N: why" for each row of the plan that cannot run, in plan order;
// empty when every row is sound.
std::vector<std::string> PlanFaults(const std::vector<PlanRow>& rows);

// The index in the CSV `header` of each of `names`, in their order. False
// with "в заголовке нет столбца X" or "в заголовке дважды столбец X" in
// `error`: a column given twice would leave in doubt which one counts.
bool HeaderColumns(const std::vector<std::string>& header, std::span<const std::string_view> names,
                   std::vector<std::size_t>& index, std::string& error);

// The fields of one CSV line: separated by commas, double quotes around a
// field that holds commas or quotes ("" inside is one quote), spaces around
// fields dropped.
std::vector<std::string> CsvFields(std::string_view line);

}  // namespace zrm
