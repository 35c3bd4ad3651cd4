#include "report/report_values.h"

#include "editor/item_lists.h"
#include "platform/number_text.h"
#include "report/report_texts.h"
#include "settings/sensor_types.h"

namespace zrm {

namespace {

bool IsSensorCode(std::int32_t dat) { return dat >= 0 && dat < kSensorTypeCount; }

}  // namespace

std::string F(float value) { return Format84(value); }

std::string N(std::int64_t value) { return std::to_string(value); }

std::string CodeText(std::int64_t code) { return std::string(report_text::kCode) + N(code); }

std::string SensorName(std::int32_t dat) {
  if (!IsSensorCode(dat)) return CodeText(dat);
  return std::string(kSensorTypeNames[static_cast<std::size_t>(dat)]);
}

std::string SetpointTypeName(std::int32_t code) {
  const std::vector<std::string>& names = SetpointTypeItems();
  if (code < 0 || code >= static_cast<std::int32_t>(names.size())) return CodeText(code);
  return names[static_cast<std::size_t>(code)];
}

std::string AccuracyText(const SensorRangeTable& ranges, std::int32_t dat) {
  if (!IsSensorCode(dat)) return CodeText(dat);
  return F(ranges[static_cast<std::size_t>(dat)].pogr) + std::string(report_text::kPercent);
}

}  // namespace zrm
