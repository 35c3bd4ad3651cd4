#include "cli/unfinished_write_notice.h"

#include "app/write_journal.h"

namespace zrm {

void TellUnfinishedWrite(const std::string& working_dir, const DeviceSettings& instrument,
                         Operator& op) {
  JournalEntry entry;
  std::string problem;
  switch (FindJournalEntry(working_dir, instrument, entry, problem)) {
    case JournalState::kUnfinished: op.Notice(UnfinishedWriteSentence(entry)); break;
    case JournalState::kDamaged: op.Notice(problem); break;
    case JournalState::kNone: break;
  }
}

}  // namespace zrm
