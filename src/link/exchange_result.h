#pragma once
// Result of every operation that can fail: 0 is success, 1..23 the fixed
// errors of the instrument link, the checks and the files, 24 replies that
// answer no request of ours. A sequence stops at
// its first non-zero result and passes it up unchanged; only the top shows it.

#include <string>
#include <type_traits>

#include "platform/operator.h"

namespace zrm {

// A result number 0..24. The compiler makes every caller look at it
// ([[nodiscard]]); a result dropped on purpose goes through Ignore() with the
// reason. Results are made only from numbers known when compiling, 0..24
// (the named results below); as a number a result is the exit status and the
// row of the message table. It does not compare with bare numbers: code and
// tests name the result they mean.
class [[nodiscard]] ExchangeResult {
 public:
  constexpr ExchangeResult() = default;
  consteval explicit ExchangeResult(unsigned number) : number_(Checked(number)) {}

  constexpr operator unsigned() const { return number_; }

  friend constexpr bool operator==(ExchangeResult, ExchangeResult) = default;
  // A bare number is no result: compare with the named results.
  template <typename Number>
  requires std::is_arithmetic_v<Number>
  friend bool operator==(ExchangeResult, Number) = delete;

 private:
  // Outside 0..24 the call is no constant, and the compiler refuses it.
  static consteval unsigned Checked(unsigned number) {
    if (number > kHighest) throw "a result number is 0..24";
    return number;
  }
  static constexpr unsigned kHighest = 24;

  unsigned number_ = 0;
};

// Drops a result on purpose; `why` tells the reader why nothing depends on it.
constexpr void Ignore(ExchangeResult, const char* /*why*/) {}

namespace result {
inline constexpr ExchangeResult kOk{0};
inline constexpr ExchangeResult kTooManyChars{1};  // reply overflow, "!" too far
inline constexpr ExchangeResult kNoAnswer{2};
inline constexpr ExchangeResult kNotUnderstood{3};  // unparseable reply, "$000B"
inline constexpr ExchangeResult kOperandTooBig{4};  // also channel index out of range
inline constexpr ExchangeResult kAddressTooBig{5};  // memory space other than 1 or 2
inline constexpr ExchangeResult kChecksum{6};
inline constexpr ExchangeResult kDeviceError{7};
inline constexpr ExchangeResult kAdcAccess{8};
inline constexpr ExchangeResult kNoModuleAnswer{9};
inline constexpr ExchangeResult kNoSuchModule{10};
inline constexpr ExchangeResult kModuleChecksum{11};
inline constexpr ExchangeResult kModuleAddressTooBig{12};  // device code "$000C"
inline constexpr ExchangeResult kModuleReplyError{13};
inline constexpr ExchangeResult kFile{14};
inline constexpr ExchangeResult kReadBackMismatch{15};
inline constexpr ExchangeResult kStoppedToClarify{16};  // No to a remark
inline constexpr ExchangeResult kStoppedToCorrect{17};  // No to a question, an error box
inline constexpr ExchangeResult kSystemError{18};
inline constexpr ExchangeResult kUnexpectedFormat{19};
inline constexpr ExchangeResult kUserAbort{20};
inline constexpr ExchangeResult kNotAFloat{21};
inline constexpr ExchangeResult kParameterNotFound{22};
inline constexpr ExchangeResult kBadNumber{23};
// Only replies that answer no request of ours came (another instrument's,
// late answers to other requests), or answers crossed every time.
inline constexpr ExchangeResult kReplyNotMatched{24};
inline constexpr ExchangeResult kLast{24};

// Every result, 0..24 in order.
inline constexpr ExchangeResult kAll[] = {kOk,
                                          kTooManyChars,
                                          kNoAnswer,
                                          kNotUnderstood,
                                          kOperandTooBig,
                                          kAddressTooBig,
                                          kChecksum,
                                          kDeviceError,
                                          kAdcAccess,
                                          kNoModuleAnswer,
                                          kNoSuchModule,
                                          kModuleChecksum,
                                          kModuleAddressTooBig,
                                          kModuleReplyError,
                                          kFile,
                                          kReadBackMismatch,
                                          kStoppedToClarify,
                                          kStoppedToCorrect,
                                          kSystemError,
                                          kUnexpectedFormat,
                                          kUserAbort,
                                          kNotAFloat,
                                          kParameterNotFound,
                                          kBadNumber,
                                          kReplyNotMatched};
}  // namespace result

// Text, caption and icon of the message box of a result.
struct ResultMessage {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::kError;
};

// The message of a result 1..24; false for 0 and numbers outside the table.
bool ExchangeResultMessage(ExchangeResult r, ResultMessage& out);

// Shows the message box of a result through the operator; does nothing for 0
// or a number outside 1..24.
void ShowExchangeError(Operator& op, ExchangeResult r);

}  // namespace zrm
