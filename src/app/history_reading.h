#pragma once
// Reading the history of changes of a working folder, for the window's
// list, zrm48ctl history and the report: the file is only read, and asking
// a folder without a history makes none.

#include <optional>
#include <string>
#include <vector>

#include "history/history_event.h"
#include "history/history_store.h"

namespace zrm {

// The history's file of `working_dir`: working_dir/history.sqlite.
std::string HistoryFilePath(const std::string& working_dir);

// The backup an event names by `file_name`, in the backup folder of
// `working_dir`; only the name's last part counts, so no name leads out of
// that folder.
std::string HistoryBackupPath(const std::string& working_dir, const std::string& file_name);

// The events of the history of `working_dir` that match `filter`, oldest
// first; none when the folder has no history or its file is empty. Empty
// with `error` naming the file and why ("История изменений не открыта:
// ПУТЬ: нет доступа") when it cannot be read.
std::optional<std::vector<HistoryEvent>> ReadHistory(const std::string& working_dir,
                                                     const HistoryFilter& filter,
                                                     std::string& error);

// The check of the chains of the history of `working_dir`, read as
// ReadHistory reads it (see HistoryStore::Verify); a folder without one
// holds no event.
bool VerifyHistory(const std::string& working_dir, std::optional<ChainBreak>& broken,
                   std::size_t& events, std::string& error);

}  // namespace zrm
