#include "link/exchange_log.h"
#include "link/log_text.h"
#include "platform/number_text.h"

namespace zrm {

namespace {

// printf("%02x", value).
std::string LowerHexByte(std::uint8_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

}  // namespace

std::string FormatMeasurementLine(const MeasurementRecord& record) {
  const std::string gap = "  ";
  return ClockText(record.wait_start) + gap + LowerHexByte(record.relay_byte) + gap +
         Format84(record.value1) + gap + LowerHexByte(record.status1) + gap +
         Format84(record.value2) + gap + LowerHexByte(record.status2) + "\r\n";
}

ExchangeResult LogMeasurement(const std::string& path, const MeasurementRecord& record) {
  return AppendToFile(path, FormatMeasurementLine(record)) ? result::kOk : result::kFile;
}

}  // namespace zrm
