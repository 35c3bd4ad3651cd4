#include "app/last_write.h"

#include "app/history_rows.h"
#include "app/history_settings.h"
#include "app/history_table.h"
#include "report/report_texts.h"
#include "settings/instrument_identity_text.h"

namespace zrm {

namespace {

// A write's closing event of a write that sent something, or tried to: a
// whole write always sends every parameter, a write of changes only when
// it found some.
bool Wrote(const HistoryEvent& e) {
  if (e.opening_id.empty()) return false;
  const bool whole = e.action == "write" || e.action == "write-with-backup";
  return whole || e.result != 0 || !e.changes.empty();
}

}  // namespace

std::string LastWriteLine(const std::string& working_dir, const DeviceSettings& instrument,
                          std::string& error) {
  const GeneralSettings& g = instrument.general;
  if (SerialNumber(g) == 0) return {};
  HistoryFilter filter;
  filter.instrument_number = DeviceNumber(g);
  const auto events = ListHistory(working_dir, filter, error);
  if (!events) return {};
  const std::string type = ModelNumber(g.proc_ver);
  for (auto e = events->rbegin(); e != events->rend(); ++e) {
    if (e->instrument_type != type || !Wrote(*e)) continue;
    std::string line =
        std::string(report_text::kLastWrite) + HistoryLocalTime(e->time_ms) + ", " + HistoryWho(*e);
    if (e->result != 0) line += std::string(report_text::kLastWriteFailed) + HistoryOutcome(*e);
    return line;
  }
  return {};
}

}  // namespace zrm
