#pragma once
// The check of the history's chains, the same for the local file and the
// plant's database. One origin (workstation and program) may have several
// chains: the database holds the events of every working folder of a
// machine, each folder's file chaining its own, and they interleave. So
// each origin keeps the set of its chains' last events (heads): an event
// with no previous hash starts a chain, one whose previous hash is a head
// of its origin extends that chain; anything else follows an event that is
// missing or was moved, and an event whose hash does not match its content
// was edited.

#include <map>
#include <optional>
#include <set>
#include <string>

#include "history/history_event.h"

namespace zrm {

// Where a chain of the history does not hold.
struct ChainBreak {
  std::string id;       // the first event that does not match its chain
  std::string origin;   // its workstation and program
  bool edited = false;  // its own content changed; otherwise an event before it is missing or moved

  bool operator==(const ChainBreak&) const = default;
};

class ChainCheck {
 public:
  // Takes the next event in the order the events were stored: empty while
  // the chains hold, else where the first of them breaks.
  std::optional<ChainBreak> Take(const HistoryEvent& event);

  // How many events were taken.
  std::size_t Count() const { return count_; }

 private:
  std::map<std::string, std::set<std::string>> heads_;  // by origin
  std::size_t count_ = 0;
};

}  // namespace zrm
