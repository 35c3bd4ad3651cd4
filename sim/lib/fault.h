#pragma once
// Scripted faults of the emulated instrument, and the text form they take on
// the zrm48sim command line ("KIND[=ARG]@WHEN").

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "lib/parameter_key.h"

namespace zrm::sim {

enum class FaultKind {
  kNoReply,        // the request is swallowed
  kCutReply,       // the reply stops before its CR (argument: bytes kept, 0 = all but CR)
  kGarbageBefore,  // junk bytes precede the reply (argument: their count)
  kLongReply,      // the reply is padded in front to more than 256 bytes
  kErrorCode,      // "$" code reply instead (argument: the code, e.g. 0x0003)
  kDelay,          // the reply comes late (argument: milliseconds)
  kWrongValue,     // a write stores a value other than the one sent
  kNulBytes,       // NUL bytes inside the reply (argument: their count)
  kVanish,         // the pseudo-terminal closes; the request gets no reply
};

// Which requests a fault hits.
struct FaultWhen {
  enum class By { kRequestNumber, kParameter, kShare };
  By by = By::kRequestNumber;
  std::size_t request_number = 0;  // 1-based count of frames received since Start
  int space = 2;                   // with Parameter
  unsigned address = 0;            // with Parameter
  std::optional<Width> width;      // with Parameter; empty matches every width
  double share = 0.0;              // with Share: 0..1 of the requests, seeded
};

struct Fault {
  FaultKind kind = FaultKind::kNoReply;
  FaultWhen when;
  unsigned argument = 0;
  // The instrument of a bus it acts on; empty: the one the options give it to.
  std::optional<unsigned> address = std::nullopt;
};

// Reads the text form: KIND[=ARG]@WHEN[/ADDRESS], where KIND is noreply, cut, garbage,
// long, code, delay, wrong, nul or vanish; WHEN is a request number ("3"), a
// parameter ("2:15", "2:15:dword", "1:6:byte") or a share in percent ("25%").
// ARG is a hex code for code (required), milliseconds for delay (required),
// a count for garbage (default 8), nul (default 1) and cut (default 0).
// ADDRESS names the instrument of a bus the fault acts on.
// Returns false with a message in `error` when the text is malformed.
bool ParseFault(std::string_view text, Fault& fault, std::string& error);

}  // namespace zrm::sim
