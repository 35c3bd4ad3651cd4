#include "app/history_settings.h"

#include "app/app_texts.h"
#include "app/own_settings_file.h"

namespace zrm {

std::unique_ptr<HistoryRecorder> RecorderOf(const std::string& dir, const std::string& program,
                                            const std::string& given_url) {
  if (!given_url.empty()) return std::make_unique<HistoryRecorder>(dir, program, given_url);
  const HistoryDatabaseSetting setting = LoadHistoryDatabase(dir);
  return std::make_unique<HistoryRecorder>(
      dir, program, setting.url,
      OwnSettingsPath(dir) + app_texts::kAtLine + std::to_string(setting.line));
}

std::optional<std::vector<HistoryEvent>> ListHistory(const std::string& dir,
                                                     const HistoryFilter& filter,
                                                     std::string& error) {
  return RecorderOf(dir, "", "")->List(filter, error);
}

}  // namespace zrm
