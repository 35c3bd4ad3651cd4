#pragma once
// The SHA-256 that chains an origin's events: over every field of the event
// (each with its length, so that no two contents read alike) and the hash of
// the origin's event before it. A changed value, a removed event or two
// events swapped no longer match their chain.

#include <string>

#include "history/history_event.h"

namespace zrm {

// Lower-case hexadecimal SHA-256 of `event` with its `previous_hash`; its
// own `hash` is not part of it.
std::string EventHash(const HistoryEvent& event);

}  // namespace zrm
