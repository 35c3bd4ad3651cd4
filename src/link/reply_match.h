#pragma once
// Whether a reply line answers the request that waits for it. The replies
// carry no request number: a late answer to an earlier request, or one from
// another instrument on the bus, looks like any other reply. What can be
// told is who answered (the address after "!") and what was asked (the
// length of the data a read of that width returns, or a "$" code for a
// write).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zrm {

// The kinds of request, by the reply each produces.
enum class ReplyKind {
  kByte,         // a read of one byte: two hex digits
  kDword,        // a read of four bytes: eight hex digits
  kStatusBlock,  // the status block: thirty-two hex digits
  kWrite,        // a write: a "$" code, or "!" address ";;" without data
};

// What a complete reply line is to the request waiting.
enum class ReplyVerdict {
  kAnswer,        // its reply form from the addressed instrument, or a "$" code
  kOtherAddress,  // a read reply from another instrument
  kOtherRequest,  // a read reply of another length, or a read reply to a write
  kUnreadable,    // neither a read reply nor a "$" code
};

// Classifies one reply line (up to its CR) for a request of `kind` sent to
// `net_address`. Only kAnswer may be taken apart as the reply; a read reply
// from the right address with a fault inside (a "!" too far, a byte without
// its closing ";") is still kAnswer, so that its own result is reported.
ReplyVerdict MatchReply(std::string_view line, ReplyKind kind, std::uint32_t net_address);

// The fewest bytes in all that the reply line beginning with `start` (no CR
// yet) has when it is the answer to a request of `kind`, in either of its
// forms (the data, or a "$" code): never more than such an answer will
// have, so that a reader may sleep for the rest's wire time and take it in
// one read. Another line (another request's reply, a damaged one) may be
// shorter and is then only read a little later. 0 when nothing is known: no
// byte yet, or a beginning that is no reply form.
std::size_t ShortestReplyLength(std::string_view start, ReplyKind kind);

// How long the line must stay quiet after a reply of `kind` before the reply
// is taken as the only one when answers may be crossed: the longest such
// reply on the wire at `speed` bit/s (10 bits a byte) plus a margin for the
// instrument's turnaround.
std::chrono::milliseconds QuietWindow(ReplyKind kind, std::int32_t speed);

}  // namespace zrm
