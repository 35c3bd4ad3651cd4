#pragma once
// The two optional append-only text logs: the exchange log (one entry per
// attempt) and the measurement log (one line every second polling tick
// whose poll succeeded).
// Each entry opens the file, appends and closes it, so the files can be read
// or deleted while the program runs. Lines end with CR LF.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "link/exchange_result.h"

namespace zrm {

struct TimeOfDay {
  unsigned hour = 0;
  unsigned minute = 0;
  unsigned second = 0;
  unsigned millisecond = 0;
};

// Current local time of day.
TimeOfDay LocalTimeOfDay();
// The local time of day of `moment`.
TimeOfDay LocalTimeOfDay(std::chrono::system_clock::time_point moment);

// Why bytes that came during a wait were not taken as its reply.
enum class DiscardReason {
  kOtherAddress,  // a read reply from another instrument
  kOtherRequest,  // a reply of another request's form or length
  kCrossed,       // two replies in a row where one was due: neither is taken
  kStale,         // left on the line before the first exchange
};

struct DiscardedReply {
  std::string bytes;
  DiscardReason why = DiscardReason::kOtherRequest;
};

// One attempt as it is logged.
struct ExchangeRecord {
  std::string sent;      // the request frame as sent
  std::string received;  // the reply bytes gathered; logged up to the first zero byte
  TimeOfDay wait_start;
  TimeOfDay wait_end;
  std::uint32_t wait_ms = 0;
  std::vector<DiscardedReply> discarded;  // one more log line each, after the wait
};

class ExchangeLog {
 public:
  virtual ~ExchangeLog() = default;
  // Appends one entry; 14 when the file cannot be opened, else 0.
  virtual ExchangeResult LogExchange(const ExchangeRecord& record) = 0;
};

// The exchange log in a text file.
class ExchangeLogFile : public ExchangeLog {
 public:
  explicit ExchangeLogFile(std::string path) : path_(std::move(path)) {}
  ExchangeResult LogExchange(const ExchangeRecord& record) override;

 private:
  std::string path_;
};

// Values of one measurement log line.
struct MeasurementRecord {
  TimeOfDay wait_start;  // of the last status block exchange
  std::uint8_t relay_byte = 0;
  float value1 = 0;  // after the display clamping
  std::uint8_t status1 = 0;
  float value2 = 0;
  std::uint8_t status2 = 0;
};

// The measurement log line, CR LF included:
// "%02u:%02u:%02u  %02x  %8.4f  %02x  %8.4f  %02x".
std::string FormatMeasurementLine(const MeasurementRecord& record);

// Appends one line to `path`; 14 when the file cannot be opened, else 0.
ExchangeResult LogMeasurement(const std::string& path, const MeasurementRecord& record);

}  // namespace zrm
