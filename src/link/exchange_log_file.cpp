#include <charconv>

#include "link/exchange_log.h"
#include "link/link_texts.h"
#include "link/log_text.h"

namespace zrm {

namespace {

constexpr const char* kSeparator = "________________________________________";
constexpr const char* kLineEnd = "\r\n";

// The bytes as a C string would show them: up to the first zero byte.
std::string UpToZeroByte(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string Decimal(std::uint32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return std::string(digits, result.ptr);
}

}  // namespace

ExchangeResult ExchangeLogFile::LogExchange(const ExchangeRecord& record) {
  std::string entry = kSeparator;
  entry += kLineEnd;
  entry += "Send cmd at " + ClockText(record.wait_start) + " :" + UpToZeroByte(record.sent);
  entry += kLineEnd;
  entry += "Answ at " + ClockText(record.wait_end) + " :" + UpToZeroByte(record.received);
  entry += kLineEnd;
  entry += "Wait for answ " + Decimal(record.wait_ms) + " ms";
  entry += kLineEnd;
  for (const DiscardedReply& discarded : record.discarded) {
    entry += "Discarded :" + UpToZeroByte(discarded.bytes) + " (" +
             link_texts::DiscardReasonText(discarded.why) + ")";
    entry += kLineEnd;
  }
  return AppendToFile(path_, entry) ? result::kOk : result::kFile;
}

}  // namespace zrm
