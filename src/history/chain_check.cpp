#include "history/chain_check.h"

#include "history/event_hash.h"

namespace zrm {

std::optional<ChainBreak> ChainCheck::Take(const HistoryEvent& event) {
  ++count_;
  const std::string origin = OriginOf(event);
  if (EventHash(event) != event.hash) return ChainBreak{event.id, origin, true};
  std::set<std::string>& heads = heads_[origin];
  if (!event.previous_hash.empty() && heads.erase(event.previous_hash) == 0)
    return ChainBreak{event.id, origin, false};
  heads.insert(event.hash);
  return std::nullopt;
}

}  // namespace zrm
