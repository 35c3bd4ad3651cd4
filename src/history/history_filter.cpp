#include "history/history_filter.h"

namespace zrm {

FilterSql FilterClause(const HistoryFilter& filter, char mark) {
  FilterSql sql;
  const auto add = [&](const char* condition, const std::string& value) {
    sql.values.push_back(value);
    sql.clause += (sql.values.size() == 1 ? " WHERE " : " AND ") + std::string(condition) + mark +
                  std::to_string(sql.values.size());
  };
  if (!filter.id.empty()) add("id = ", filter.id);
  if (!filter.instrument_number.empty()) add("instrument_number = ", filter.instrument_number);
  if (!filter.action.empty()) add("action = ", filter.action);
  if (filter.since_ms) add("time_ms >= ", std::to_string(*filter.since_ms));
  if (filter.until_ms) add("time_ms <= ", std::to_string(*filter.until_ms));
  sql.clause += " ORDER BY time_ms, seq";
  return sql;
}

}  // namespace zrm
