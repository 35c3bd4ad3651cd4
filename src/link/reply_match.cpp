#include "link/reply_match.h"

#include <algorithm>

namespace zrm {

namespace {

// The farthest an instrument's turnaround and the first byte of a second
// reply may lie behind the first reply's end.
constexpr std::chrono::milliseconds kTurnaroundMargin{25};

// "!" address ";" data ";" checksum CR at its longest: ten address digits,
// five checksum digits.
constexpr std::size_t kLongestReadReplyFrame = 1 + 10 + 1 + 1 + 5 + 1;
constexpr std::size_t kCodeReplyBytes = 6;  // "$" four hex digits CR

constexpr std::size_t DataDigits(ReplyKind kind) {
  switch (kind) {
    case ReplyKind::kByte: return 2;
    case ReplyKind::kDword: return 8;
    case ReplyKind::kStatusBlock: return 32;
    case ReplyKind::kWrite: break;
  }
  return 0;
}

bool AllDecimal(std::string_view text) {
  return !text.empty() && text.size() <= 10 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool AllHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
  });
}

std::uint64_t DecimalValue(std::string_view digits) {
  std::uint64_t value = 0;
  for (char c : digits) value = value * 10 + static_cast<unsigned>(c - '0');
  return value;
}

// The data field of a read reply, from after the address's ";" to the next
// ";" or the end of the line.
std::string_view DataField(std::string_view line, std::size_t address_end) {
  const std::string_view rest = line.substr(address_end + 1);
  const std::size_t end = std::min(rest.find(';'), rest.find('\r'));
  return rest.substr(0, end);
}

ReplyVerdict MatchReadForm(std::string_view line, std::size_t bang, ReplyKind kind,
                           std::uint32_t net_address) {
  const std::size_t address_end = line.find(';', bang + 1);
  if (address_end == std::string_view::npos) return ReplyVerdict::kUnreadable;
  const std::string_view address = line.substr(bang + 1, address_end - bang - 1);
  if (!AllDecimal(address)) return ReplyVerdict::kUnreadable;
  if (DecimalValue(address) != net_address) return ReplyVerdict::kOtherAddress;

  const std::string_view data = DataField(line, address_end);
  if (!data.empty() && data.front() == '$') return ReplyVerdict::kAnswer;  // its code
  // A write is acknowledged without data; a read reply answers another request.
  if (kind == ReplyKind::kWrite)
    return data.empty() ? ReplyVerdict::kAnswer : ReplyVerdict::kOtherRequest;
  if (!AllHex(data)) return ReplyVerdict::kUnreadable;
  return data.size() == DataDigits(kind) ? ReplyVerdict::kAnswer : ReplyVerdict::kOtherRequest;
}

}  // namespace

ReplyVerdict MatchReply(std::string_view line, ReplyKind kind, std::uint32_t net_address) {
  const std::size_t cr = line.find('\r');
  const std::string_view body = line.substr(0, cr);
  if (body.find('\0') != std::string_view::npos) return ReplyVerdict::kUnreadable;
  const std::size_t bang = body.find('!');
  if (bang != std::string_view::npos) return MatchReadForm(body, bang, kind, net_address);
  return body.find('$') != std::string_view::npos ? ReplyVerdict::kAnswer
                                                  : ReplyVerdict::kUnreadable;
}

std::size_t ShortestReplyLength(std::string_view start, ReplyKind kind) {
  if (start.empty()) return 0;
  if (start.front() == '$') return kCodeReplyBytes;
  if (start.front() != '!') return 0;
  // "!" and the address: its digits as far as seen, at least one, and ";".
  const std::size_t address_end = start.find(';', 1);
  const std::size_t digits =
      address_end == std::string_view::npos ? std::max<std::size_t>(start.size() - 1, 1)
                                            : address_end - 1;
  const std::size_t head = 1 + digits + 1;
  // After the data: ";", at least one checksum digit, CR. A "$" code may
  // stand for the data, and may end the line at once.
  const std::size_t data_form = head + DataDigits(kind) + 3;
  const std::size_t code_form = head + 5 + 1;
  if (address_end == std::string_view::npos || start.size() <= head)
    return std::min(data_form, code_form);
  return start[head] == '$' ? code_form : data_form;
}

std::chrono::milliseconds QuietWindow(ReplyKind kind, std::int32_t speed) {
  const std::size_t bytes = kind == ReplyKind::kWrite
                                ? std::max(kCodeReplyBytes, kLongestReadReplyFrame + 2)
                                : kLongestReadReplyFrame + DataDigits(kind);
  const std::int64_t bits_per_second = std::max<std::int32_t>(speed, 300);
  const auto wire = std::chrono::milliseconds((bytes * 10 * 1000 + bits_per_second - 1) /
                                              static_cast<std::uint64_t>(bits_per_second));
  return wire + kTurnaroundMargin;
}

}  // namespace zrm
