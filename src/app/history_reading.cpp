#include "app/history_reading.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "app/instrument_backup.h"
#include "history/history_texts.h"
#include "platform/file_kind.h"
#include "platform/system_reason.h"

namespace zrm {

std::string HistoryFilePath(const std::string& working_dir) {
  return working_dir + "/history.sqlite";
}

std::string HistoryBackupPath(const std::string& working_dir, const std::string& file_name) {
  return BackupFolder(working_dir) + "/" + std::filesystem::path(file_name).filename().string();
}

std::optional<std::vector<HistoryEvent>> ReadHistory(const std::string& working_dir,
                                                     const HistoryFilter& filter,
                                                     std::string& error) {
  const std::string path = HistoryFilePath(working_dir);
  const auto refuse = [&](const std::string& why) {
    error = std::string(history_texts::kNotOpened) + path + ": " + why;
    return std::nullopt;
  };
  if (::access(path.c_str(), F_OK) != 0 && errno == ENOENT) return std::vector<HistoryEvent>{};
  if (const std::string kind = NotRegularFileAt(path); !kind.empty()) return refuse(kind);
  // SQLite would say only that it cannot open the file.
  if (::access(path.c_str(), R_OK) != 0) return refuse(SystemReason(errno));
  std::error_code unknown_size;
  if (std::filesystem::file_size(path, unknown_size) == 0 && !unknown_size)
    return std::vector<HistoryEvent>{};
  HistoryStore store;
  if (!store.OpenForReading(path, error)) return std::nullopt;
  return store.List(filter, error);
}

}  // namespace zrm
