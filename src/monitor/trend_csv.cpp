#include "monitor/trend_csv.h"

#include <cstdio>

#include "monitor/monitor_texts.h"
#include "platform/number_text.h"

namespace zrm {

namespace {

constexpr char kSeparator = ';';
constexpr const char* kLineEnd = "\r\n";

// A field holding the separator, a quote or a line break is quoted, with its
// quotes doubled, so a channel name cannot shift the columns.
std::string Field(const std::string& text) {
  if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// "Канал 1, °C": the caption, then the unit when there is one.
std::string WithUnit(std::string caption, const std::string& unit) {
  if (!unit.empty()) caption += ", " + unit;
  return caption;
}

std::string TimeText(const TimeOfDay& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", t.hour, t.minute, t.second,
                t.millisecond);
  return text;
}

std::string Value(float value) { return FormatFixed(value, 0, 4); }

void AppendLine(std::string& csv, const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) csv += kSeparator;
    csv += Field(fields[i]);
  }
  csv += kLineEnd;
}

std::vector<std::string> HeaderFields(const std::array<std::string, 2>& units) {
  std::vector<std::string> fields = {TimeColumnCaption()};
  for (int k = 1; k <= 2; ++k) {
    fields.push_back(WithUnit(ChannelColumnCaption(k), units[k - 1]));
    fields.push_back(StatusColumnCaption(k));
  }
  fields.push_back(RelayLampCaption(1));
  fields.push_back(RelayLampCaption(2));
  for (int k = 1; k <= 2; ++k) {
    fields.push_back(WithUnit(SetpointColumnCaption(1, k), units[k - 1]));
    fields.push_back(WithUnit(SetpointColumnCaption(2, k), units[k - 1]));
  }
  return fields;
}

std::vector<std::string> SampleFields(const TrendSample& s) {
  std::vector<std::string> fields = {TimeText(s.time)};
  for (std::size_t k = 0; k < 2; ++k) {
    fields.push_back(Value(s.value[k]));
    fields.push_back(std::to_string(s.status[k]));
  }
  fields.push_back((s.relay_byte & 0x01) != 0 ? "1" : "0");
  fields.push_back((s.relay_byte & 0x02) != 0 ? "1" : "0");
  for (std::size_t k = 0; k < 2; ++k) {
    fields.push_back(Value(s.setpoint1[k]));
    fields.push_back(Value(s.setpoint2[k]));
  }
  return fields;
}

}  // namespace

std::string TrendCsv(const std::vector<TrendSample>& samples,
                     const std::array<std::string, 2>& units) {
  std::string csv;
  AppendLine(csv, HeaderFields(units));
  for (const TrendSample& sample : samples) AppendLine(csv, SampleFields(sample));
  return csv;
}

}  // namespace zrm
