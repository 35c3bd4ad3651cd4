#pragma once
// The daemon's log on stderr, one line per event, safe from every thread.
// Run by systemd, the journal stamps the lines itself and reads their
// priority from a "<N>" prefix; run by hand, each line starts with the local
// time.

#include <cstdio>
#include <mutex>
#include <string_view>

namespace zrm {

class GatewayLog {
 public:
  enum class Level { kError = 3, kWarning = 4, kInfo = 6 };

  // `for_journal`: priority prefixes, no time stamps.
  GatewayLog(std::FILE* out, bool for_journal) : out_(out), for_journal_(for_journal) {}

  void Write(Level level, std::string_view text);
  void Info(std::string_view text) { Write(Level::kInfo, text); }
  void Warning(std::string_view text) { Write(Level::kWarning, text); }
  void Error(std::string_view text) { Write(Level::kError, text); }

 private:
  std::mutex mutex_;
  std::FILE* out_;
  bool for_journal_;
};

// True when systemd started the program (JOURNAL_STREAM or INVOCATION_ID set).
bool StartedBySystemd();

}  // namespace zrm
