#include "history/history_event.h"

namespace zrm {

std::string OriginOf(const HistoryEvent& event) { return event.workstation + "/" + event.program; }

}  // namespace zrm
