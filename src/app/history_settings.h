#pragma once
// Which history the window and zrm48ctl record into: the working folder's
// history.sqlite, and the plant's database that zrm48ctl's --history or
// [HISTORY] Database of zrm48setup.ini names.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/history_recorder.h"

namespace zrm {

// The recorder of the history of `dir` as `program`, sending to
// `given_url` (zrm48ctl's --history, checked already) when it is not empty,
// else to the database zrm48setup.ini names. A URL there that does not
// parse gives a recorder that refuses every event, naming the file and the
// line.
std::unique_ptr<HistoryRecorder> RecorderOf(const std::string& dir, const std::string& program,
                                            const std::string& given_url);

// The events of `dir`'s history that match `filter`, oldest first: from the
// plant's database when zrm48setup.ini names one, else from the folder's
// file (see ReadHistory).
std::optional<std::vector<HistoryEvent>> ListHistory(const std::string& dir,
                                                     const HistoryFilter& filter,
                                                     std::string& error);

}  // namespace zrm
