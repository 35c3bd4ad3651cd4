#include "report/report_blocks.h"

#include <string_view>

#include "report/report_texts.h"
#include "report/report_values.h"

namespace zrm {

namespace {

namespace t = report_text;

constexpr std::int32_t kFirstRootedSignal = 17;  // "Ток 0-5 мА"
constexpr std::int32_t kLastRootedSignal = 21;   // "Напряжение 0-75 мВ"

std::string Cat(std::string_view a, const std::string& b) { return std::string(a) + b; }

// An event of a relay: the mask, its bit and the text after "Реле r".
struct RelayEvent {
  bool second_mask;
  std::int32_t bit;
  std::string_view text;
};

// In the order they are printed.
constexpr RelayEvent kRelayEvents[] = {
    {false, 0x01, t::kBySetpoint1Channel1}, {false, 0x02, t::kBySetpoint2Channel1},
    {false, 0x04, t::kByBreakChannel1},     {true, 0x01, t::kBySetpoint1Channel2},
    {true, 0x02, t::kBySetpoint2Channel2},  {true, 0x04, t::kByBreakChannel2},
    {false, 0x08, t::kClosesValve},         {false, 0x10, t::kOpensValve},
    {false, 0x40, t::kDrivesValve},         {false, 0x20, t::kSelectsDirection},
};
constexpr std::int32_t kDirectionBit = 0x20;

}  // namespace

void AppendChannelBlock(PageLines& body, const ChannelSettings& ch,
                        const SensorRangeTable& ranges) {
  body.push_back(Cat(t::kSensorType, SensorName(ch.dat)));
  body.push_back(Cat(t::kRange, F(ch.diap_min) + std::string(t::kRangeDots) + F(ch.diap_max)));
  body.push_back(Cat(t::kAccuracy, AccuracyText(ranges, ch.dat)));
  if (ch.dat >= kFirstRootedSignal && ch.dat <= kLastRootedSignal && ch.flag != 0) {
    body.emplace_back(t::kSquareRoot);
  }
  body.push_back(Cat(t::kAveraging, N(ch.ns)));
  body.push_back(Cat(t::kDecimals, N(ch.point)));
}

void AppendRelayBlock(PageLines& body, const RelaySettings& relays, int relay) {
  const std::int32_t first = relay == 1 ? relays.rel0_msk0 : relays.rel1_msk0;
  const std::int32_t second = relay == 1 ? relays.rel0_msk1 : relays.rel1_msk1;
  const std::string number = N(relay);
  body.push_back(std::string(t::kRelayLogic) + number + std::string(t::kHeadingColon));
  for (const RelayEvent& event : kRelayEvents) {
    const std::int32_t mask = event.second_mask ? second : first;
    if ((mask & event.bit) == 0) continue;
    body.push_back(std::string(t::kRelay) + number + std::string(event.text));
    if (event.bit == kDirectionBit) body.emplace_back(t::kDirectionWhenOn);
  }
}

void AppendBothRelayBlocks(PageLines& body, const RelaySettings& relays) {
  for (int relay = 1; relay <= 2; ++relay) {
    AppendRelayBlock(body, relays, relay);
    body.emplace_back();
  }
}

void AppendCorrectionBlock(PageLines& body, const ChannelSettings& ch) {
  body.push_back(Cat(t::kShift, F(ch.shift)));
  body.push_back(Cat(t::kAdjust, F(ch.adj)));
  body.emplace_back(t::kPolynomial);
  body.push_back(Cat(t::kK0, F(ch.koef0)) + Cat(t::kK1, F(ch.koef1)) + Cat(t::kK2, F(ch.koef2)) +
                 Cat(t::kK3, F(ch.koef3)));
}

}  // namespace zrm
