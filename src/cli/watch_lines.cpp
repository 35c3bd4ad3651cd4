#include "cli/watch_lines.h"

#include <charconv>
#include <ctime>

#include "cli/cli_texts.h"
#include "monitor/current_values.h"
#include "monitor/monitor_texts.h"
#include "platform/number_text.h"
#include "settings/instrument_identity_text.h"

namespace zrm {

namespace {

// Column widths in characters (the texts are UTF-8).
constexpr std::size_t kAddressWidth = 4;  // the stale mark and three digits
constexpr std::size_t kTypeWidth = 5;
constexpr std::size_t kSerialWidth = 10;
constexpr std::size_t kFirmwareWidth = 8;
constexpr std::size_t kValueWidth = 10;
constexpr std::size_t kStatusWidth = 21;
constexpr std::size_t kChannelWidth = kValueWidth + 1 + kStatusWidth;
constexpr std::size_t kLampsWidth = 3;
constexpr std::size_t kRelaysWidth = 4;
constexpr std::size_t kSinceWidth = 8;
constexpr const char* kUnknown = "-";

std::size_t Characters(const std::string& text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// `text` cut or padded with blanks to `width` characters.
std::string Fit(std::string text, std::size_t width) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (characters++ == width) {
      text.resize(i);
      return text;
    }
  }
  return text + std::string(width - Characters(text), ' ');
}

std::string Lamps(std::uint8_t flags) {
  std::string lamps;
  lamps += flags & kSetpoint1Bit ? "1" : "·";
  lamps += flags & kSetpoint2Bit ? "2" : "·";
  lamps += flags & kBreakBit ? "О" : "·";
  return lamps;
}

std::string Relays(std::uint8_t relay_byte) {
  return std::string(relay_byte & 0x01 ? "1" : "·") + (relay_byte & 0x02 ? "2" : "·");
}

std::string Channel(const BusChannel& ch, bool has_values) {
  if (!has_values) return Fit(kUnknown, kChannelWidth);
  return FormatFixed(ch.value, kValueWidth, 4) + " " + Fit(StatusText(ch.status), kStatusWidth);
}

std::string SinceAnswer(const BusSnapshot& s, std::chrono::steady_clock::time_point now) {
  if (s.polls_answered == 0) return kUnknown;
  const double seconds = std::chrono::duration<double>(now - s.last_answer).count();
  return FormatFixed(seconds, 0, seconds < 10 ? 1 : 0) + cli_texts::kSeconds;
}

std::string Availability(BusAvailability a) {
  switch (a) {
    case BusAvailability::kOnline: return cli_texts::kOnline;
    case BusAvailability::kOffline: return cli_texts::kOffline;
    case BusAvailability::kUnknown: break;
  }
  return cli_texts::kNotYet;
}

std::string ShortestText(float value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : std::string();
}

std::string LocalStamp(std::chrono::system_clock::time_point at) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()) %
                  std::chrono::seconds(1);
  const std::string millis = std::to_string(1000 + ms.count()).substr(1);
  return std::string(text, length) + "." + millis;
}

}  // namespace

std::string WatchTableHead() {
  namespace t = cli_texts;
  std::string head = Fit(std::string(" ") + t::kAddressHead, kAddressWidth) + " ";
  head += Fit(t::kTypeHead, kTypeWidth) + " " + Fit(t::kSerialHead, kSerialWidth) + " ";
  head += Fit(t::kFirmwareHead, kFirmwareWidth) + " ";
  head += Fit(t::kChannel1Head, kChannelWidth) + " " + Fit(t::kChannel2Head, kChannelWidth) + " ";
  head += Fit(t::kLamps1Head, kLampsWidth) + " " + Fit(t::kLamps2Head, kLampsWidth) + " ";
  head += Fit(t::kRelaysHead, kRelaysWidth) + " " + Fit(t::kSinceHead, kSinceWidth) + " ";
  return head + t::kAvailabilityHead;
}

std::string WatchTableRow(const BusSnapshot& s, std::chrono::steady_clock::time_point now) {
  const BusIdentity& id = s.identity;
  std::string row = s.failed_in_row > 0 ? cli_texts::kStaleMark : " ";
  row += FormatFixed(s.address, kAddressWidth - 1, 0) + " ";
  row += Fit(id.known ? ModelNumber(id.device_type) : kUnknown, kTypeWidth) + " ";
  row += Fit(id.known ? SerialText(id.prefix, id.serial_number) : kUnknown, kSerialWidth) + " ";
  row += Fit(id.known ? FirmwareVersionText(id.firmware_version) : kUnknown, kFirmwareWidth) + " ";
  row += Channel(s.channel[0], s.has_values) + " ";
  row += Channel(s.channel[1], s.has_values) + " ";
  row += Lamps(s.channel[0].flags) + " " + Lamps(s.channel[1].flags) + " ";
  row += Fit(Relays(s.relay_byte), kRelaysWidth) + " ";
  row += Fit(SinceAnswer(s, now), kSinceWidth) + " ";
  return row + Availability(s.availability);
}

std::string CutToColumns(const std::string& line, std::size_t columns) {
  return columns == 0 || Characters(line) <= columns ? line : Fit(line, columns);
}

std::string WatchCsvLine(const BusSnapshot& s) {
  std::string line = LocalStamp(s.last_answer_wall) + "," + std::to_string(s.address) + ",";
  line += SerialText(s.identity.prefix, s.identity.serial_number);
  for (const BusChannel& ch : s.channel)
    line += "," + ShortestText(ch.value) + "," + std::to_string(ch.status);
  return line + "," + std::to_string(s.relay_byte);
}

}  // namespace zrm
