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

namespace {

// Opens the history of `working_dir` into `store` to read it. False with
// `error` empty for a folder without one or an empty file, else naming the
// file and why it cannot be read.
bool OpenToRead(const std::string& working_dir, HistoryStore& store, std::string& error) {
  const std::string path = HistoryFilePath(working_dir);
  const auto refuse = [&](const std::string& why) {
    error = std::string(history_texts::kNotOpened) + path + ": " + why;
    return false;
  };
  if (::access(path.c_str(), F_OK) != 0 && errno == ENOENT) return false;
  if (const std::string kind = NotRegularFileAt(path); !kind.empty()) return refuse(kind);
  // SQLite would say only that it cannot open the file.
  if (::access(path.c_str(), R_OK) != 0) return refuse(SystemReason(errno));
  std::error_code unknown_size;
  if (std::filesystem::file_size(path, unknown_size) == 0 && !unknown_size) return false;
  return store.OpenForReading(path, error);
}

}  // namespace

std::optional<std::vector<HistoryEvent>> ReadHistory(const std::string& working_dir,
                                                     const HistoryFilter& filter,
                                                     std::string& error) {
  HistoryStore store;
  error.clear();
  if (OpenToRead(working_dir, store, error)) return store.List(filter, error);
  if (!error.empty()) return std::nullopt;
  return std::vector<HistoryEvent>{};
}

bool VerifyHistory(const std::string& working_dir, std::optional<ChainBreak>& broken,
                   std::size_t& events, std::string& error) {
  HistoryStore store;
  broken.reset();
  events = 0;
  error.clear();
  if (OpenToRead(working_dir, store, error)) return store.Verify(broken, events, error);
  return error.empty();
}

}  // namespace zrm
