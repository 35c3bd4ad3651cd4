#include "report/configuration_page.h"

#include <cstdio>
#include <string_view>

#include "report/report_blocks.h"
#include "report/report_texts.h"
#include "report/report_values.h"

namespace zrm {

namespace {

namespace t = report_text;

std::string Cat(std::string_view a, const std::string& b) { return std::string(a) + b; }

std::string DateLine(PrintDate d) {
  return std::string(t::kPrintDate) + N(d.day) + "." + N(d.month) + "." + N(d.year);
}

// Prefix "%03u" (a negative code wraps as the unsigned conversion does), a
// dash, and the serial number.
std::string DeviceNumber(const GeneralSettings& g) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%03u", static_cast<unsigned>(g.otk_type));
  const std::int64_t serial = static_cast<std::int64_t>(g.serial_hi) * 256 + g.serial_lo;
  return std::string(prefix) + "-" + N(serial);
}

// Device type 0: one channel, two set points.
void AppendSingleChannelBody(PageLines& body, const DeviceSettings& s) {
  const ChannelSettings& ch = s.channel[0];
  body.emplace_back(t::kConfiguration);
  body.emplace_back(t::kType4810);
  body.emplace_back(t::kSummary4810);
  AppendChannelBlock(body, ch, s.sensor_ranges);
  body.emplace_back(t::kUnderline);
  const std::int32_t types[2] = {ch.th_type1, ch.th_type2};
  const float values[2] = {ch.th1, ch.th2};
  const float hystereses[2] = {ch.his1, ch.his2};
  for (int i = 0; i < 2; ++i) {
    const std::string caption_end = N(i + 1) + std::string(t::kColon);
    body.push_back(Cat(t::kSetpointTypeOf, caption_end + SetpointTypeName(types[i])));
    body.push_back(Cat(t::kSetpointValueOf, caption_end + F(values[i])));
    body.push_back(Cat(t::kHysteresisOf, caption_end + F(hystereses[i])));
    body.emplace_back(t::kUnderline);
  }
  body.push_back(Cat(t::kConfirmations, N(ch.search)));
  AppendBothRelayBlocks(body, s.relay);
  body.emplace_back(t::kCorrectionHeading);
  AppendCorrectionBlock(body, ch);
}

// Device type 1: two channels with one set point each.
void AppendTwoChannelBody(PageLines& body, const DeviceSettings& s) {
  body.emplace_back(t::kConfiguration);
  body.emplace_back(t::kType4813);
  body.emplace_back(t::kSummary4813);
  for (int k = 0; k < 2; ++k) {
    const ChannelSettings& ch = s.channel[k];
    body.push_back(Cat(t::kChannelHeading, N(k + 1) + std::string(t::kHeadingColon)));
    AppendChannelBlock(body, ch, s.sensor_ranges);
    body.push_back(Cat(t::kSetpointType, SetpointTypeName(ch.th_type1)));
    body.push_back(Cat(t::kSetpointValue, F(ch.th1)));
    body.push_back(Cat(t::kHysteresis, F(ch.his1)));
    body.push_back(Cat(t::kConfirmations, N(ch.search)));
    body.emplace_back(t::kUnderline);
  }
  AppendBothRelayBlocks(body, s.relay);
  body.emplace_back(t::kCorrectionHeading);
  for (int k = 0; k < 2; ++k) {
    body.push_back(Cat(t::kChannelHeading, N(k + 1)));
    AppendCorrectionBlock(body, s.channel[k]);
  }
}

// Device type 2: one channel driving a valve proportionally. The zone lies
// around the regulated value th1, th2 on either side, computed in single
// precision as the instrument does.
void AppendRegulatorBody(PageLines& body, const DeviceSettings& s) {
  const ChannelSettings& ch = s.channel[0];
  body.emplace_back(t::kConfiguration);
  body.emplace_back(t::kType4816);
  body.emplace_back(t::kSummary4816);
  AppendChannelBlock(body, ch, s.sensor_ranges);
  body.emplace_back();
  body.push_back(Cat(t::kTarget, F(ch.th1)));
  const float zone_low = ch.th1 - ch.th2;
  const float zone_high = ch.th1 + ch.th2;
  body.push_back(Cat(t::kZone, F(zone_low) + std::string(t::kZoneDots) + F(zone_high)));
  body.push_back(Cat(t::kDecisionInterval, N(ch.reg_int) + std::string(t::kSeconds)));
  body.push_back(Cat(t::kMaxPulse, N(ch.pulse_int) + std::string(t::kSeconds)));
  body.emplace_back();
  AppendBothRelayBlocks(body, s.relay);
  body.emplace_back(t::kCorrectionHeading);
  AppendCorrectionBlock(body, ch);
}

}  // namespace

ConfigurationPage BuildConfigurationPage(const DeviceSettings& s, PrintDate today) {
  ConfigurationPage page;
  page.date_line = DateLine(today);
  const std::string number = DeviceNumber(s.general);
  switch (s.general.proc_ver) {
    case 0:
      page.device_line = Cat(t::kDeviceLine4810, number);
      AppendSingleChannelBody(page.body, s);
      break;
    case 1:
      page.device_line = Cat(t::kDeviceLine4813, number);
      AppendTwoChannelBody(page.body, s);
      break;
    case 2:
      page.device_line = Cat(t::kDeviceLine4816, number);
      AppendRegulatorBody(page.body, s);
      break;
    default:
      // No wording for this type: the line names the code, the body stays empty.
      page.device_line = Cat(t::kDevice, std::string(t::kCode) + N(s.general.proc_ver) +
                                              std::string(t::kNumber) + number);
      break;
  }
  return page;
}

}  // namespace zrm
