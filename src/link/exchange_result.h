#pragma once
// Result of every operation that can fail: 0 is success, 1..23 the fixed
// errors of the instrument link, the checks and the files. A sequence stops at
// its first non-zero result and passes it up unchanged; only the top shows it.

#include <string>

#include "platform/operator.h"

namespace zrm {

using ExchangeResult = unsigned;

namespace result {
inline constexpr ExchangeResult kOk = 0;
inline constexpr ExchangeResult kTooManyChars = 1;      // reply overflow, "!" too far
inline constexpr ExchangeResult kNoAnswer = 2;
inline constexpr ExchangeResult kNotUnderstood = 3;     // unparseable reply, "$000B"
inline constexpr ExchangeResult kOperandTooBig = 4;     // also channel index out of range
inline constexpr ExchangeResult kAddressTooBig = 5;     // memory space other than 1 or 2
inline constexpr ExchangeResult kChecksum = 6;
inline constexpr ExchangeResult kDeviceError = 7;
inline constexpr ExchangeResult kModuleAddressTooBig = 12;  // device code "$000C"
inline constexpr ExchangeResult kFile = 14;
inline constexpr ExchangeResult kReadBackMismatch = 15;
inline constexpr ExchangeResult kStoppedToClarify = 16;  // No to a remark
inline constexpr ExchangeResult kStoppedToCorrect = 17;  // No to a question, an error box
inline constexpr ExchangeResult kUnexpectedFormat = 19;
inline constexpr ExchangeResult kUserAbort = 20;
inline constexpr ExchangeResult kParameterNotFound = 22;
inline constexpr ExchangeResult kBadNumber = 23;
inline constexpr ExchangeResult kLast = 23;
}  // namespace result

// Text, caption and icon of the message box of a result.
struct ResultMessage {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::Error;
};

// The message of a result 1..23; false for 0 and numbers outside the table.
bool ExchangeResultMessage(ExchangeResult r, ResultMessage& out);

// Shows the message box of a result through the operator; does nothing for 0
// or a number outside 1..23.
void ShowExchangeError(Operator& op, ExchangeResult r);

}  // namespace zrm
