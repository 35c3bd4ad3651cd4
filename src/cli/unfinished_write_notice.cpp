#include "cli/unfinished_write_notice.h"

#include "app/write_journal.h"

namespace zrm {

void TellUnfinishedWrite(const std::string& working_dir, const DeviceSettings& instrument,
                         CliOperator& op) {
  JournalEntry entry;
  std::string problem;
  switch (FindJournalEntry(working_dir, instrument, entry, problem)) {
    case JournalState::kUnfinished: op.Tell(UnfinishedWriteSentence(entry)); break;
    case JournalState::kDamaged: op.Tell(problem); break;
    case JournalState::kNone: break;
  }
}

}  // namespace zrm
