// The parameter map: no two fields share a parameter, and every row names a
// field of its own width.

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "settings/parameter_map.h"

namespace zrm {
namespace {

using Parameter = std::tuple<MemorySpace, ParameterWidth, ParameterAddress>;

std::vector<Parameter> AllParameters() {
  std::vector<Parameter> all;
  for (const auto& p : kChannelParameters)
    for (int k = 0; k < 2; ++k) all.emplace_back(kSettingsSpace, p.width, ChannelAddress(p, k));
  auto add = [&all](const auto& table) {
    for (const auto& p : table) all.emplace_back(p.space, ParameterWidth::kByte, p.address);
  };
  add(kRelayLogicParameters);
  add(kRegulatorParameters);
  add(kSerialNumberParameters);
  add(kManufacturingDateParameters);
  add(kGeneralParameters);
  for (const auto& w : kClosingWrites) all.emplace_back(w.space, ParameterWidth::kByte, w.address);
  return all;
}

TEST(ParameterMap, NoTwoFieldsOfEitherChannelShareAParameter) {
  const auto all = AllParameters();
  const std::set<Parameter> distinct(all.begin(), all.end());
  EXPECT_EQ(distinct.size(), all.size());
}

TEST(ParameterMap, ByteThreeAndFloatThreeAreDifferentParameters) {
  EXPECT_EQ(ChannelAddress(ChannelParameterOf(ChannelField::kAdj), 0), 3u);
  EXPECT_EQ(ChannelParameterOf(ChannelField::kAdj).width, ParameterWidth::kFloat);
  EXPECT_EQ(kGeneralParameters[1].address, 3u);
  EXPECT_EQ(kGeneralParameters[1].field.in_general, &GeneralSettings::proc_ver);
}

TEST(ParameterMap, RowsAreInFieldOrderAndPointAtAFieldOfTheirWidth) {
  for (int i = 0; i < kChannelFieldCount; ++i) {
    const ChannelParameter& p = kChannelParameters[static_cast<std::size_t>(i)];
    EXPECT_EQ(static_cast<int>(p.field), i);
    const bool is_byte = p.width == ParameterWidth::kByte;
    EXPECT_EQ(p.byte_field != nullptr, is_byte) << i;
    EXPECT_EQ(p.float_field != nullptr, !is_byte) << i;
    EXPECT_FALSE(p.read_text.empty()) << i;
    EXPECT_FALSE(p.write_text.empty()) << i;
  }
}

TEST(ParameterMap, RecordBytesReachTheirFields) {
  DeviceSettings s;
  FieldOf(s, kRelayLogicParameters[1].field) = 5;
  FieldOf(s, kRegulatorParameters[3].field) = 6;
  FieldOf(s, kRelayLogicParameters[5].field) = 7;
  FieldOf(s, kManufacturingDateParameters[2].field) = 8;
  EXPECT_EQ(s.channel[1].ver_rel_proc, 5);
  EXPECT_EQ(s.channel[1].pulse_int, 6);
  EXPECT_EQ(s.relay.rel1_msk1, 7);
  EXPECT_EQ(s.general.date_year, 8);
}

}  // namespace
}  // namespace zrm
