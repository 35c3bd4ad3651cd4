#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "expected_profile.h"
#include "profiles/profile_file.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using test::Keys;
using test::ReadBytes;
using test::RecordingOperator;
using test::ScratchDir;
using test::SectionText;
using test::ToCp1251;
using test::WriteBytes;

// A record as the window would hand it over, with distinct values.
DeviceSettings KnownRecord() {
  DeviceSettings s;
  for (int ch = 0; ch < 2; ++ch) {
    ChannelSettings& c = s.channel[ch];
    c.dat = 19 + ch;
    c.diap_max = 100.0f;
    c.diap_min = -12.5f;
    c.adj = 1.0f;
    c.lin = 0.2f;
    c.wire = 3;
    c.flag = 1;
    c.ns = 10;
    c.shift = -0.25f;
    c.th_type1 = 2;
    c.th_type2 = 1;
    c.th1 = 50.0f;
    c.th2 = 60.5f;
    c.his1 = 0.02f;
    c.his2 = 1.5f;
    c.spd_th = 0.1f;
    c.spd_his = 0.01f;
    c.koef0 = 0.0f;
    c.koef1 = 1.0f;
    c.koef2 = 3e-6f;  // would read back as 0 in the fixed form
    c.koef3 = -0.0001f;
    c.uref = 26.32f;
    c.rref = 7491.0f;
    c.ku = 94.44f;
    c.ku10 = 9.43f;
    c.ki05 = 18.43f;
    c.ki020 = 18.43f;
    c.set_ra = 40.0f;
    c.set_rb = 300.0f;
    c.set_ku = 100.0f;
    c.set_ku10 = 10.0f;
    c.set_ki05 = 5.0f;
    c.set_ki020 = 20.0f;
    c.search = 2;
    c.point = 3;
    c.select = 1;
    c.use = 0;
    c.ver_rel_proc = 1;
    c.reg_int = 240;
    c.pulse_int = 60;
    c.text = "Канал " + std::to_string(ch + 1) + " котёл";
    c.unit = "°C";
  }
  s.relay = {1, 1, 0, 5, 2, 64, 4};
  s.calibration.kalib_usr = 8;
  s.calibration.kalib_del = 90;
  s.general.gen_select = 1;
  s.general.proc_ver = 2;
  s.general.err_ver = 0;
  s.general.use_max = 0;
  s.general.otk_type = 255;
  return s;
}

Keys SavedChannelKeys(int ch) {
  return {{"dat", std::to_string(18 + ch)}, {"diap_max", "100.0000"}, {"diap_min", "-12.5000"},
          {"adj", "  1.0000"},      {"lin", "  0.2000"},      {"wire", "3"},
          {"flag", "1"},            {"ns", "10"},             {"shift", " -0.2500"},
          {"th_type1", "2"},        {"th_type2", "1"},        {"th1", " 50.0000"},
          {"th2", " 60.5000"},      {"his1", "  0.0200"},     {"his2", "  1.5000"},
          {"spd_th", "  0.1000"},   {"spd_his", "  0.0100"},  {"koef0", "  0.0000"},
          {"koef1", "  1.0000"},    {"koef2", "3.00000011e-06"}, {"koef3", " -0.0001"},
          {"uref", " 26.3200"},     {"rref", "7491.0000"},    {"ku", " 94.4400"},
          {"ku10", "  9.4300"},     {"ki05", " 18.4300"},     {"ki020", " 18.4300"},
          {"set_ra", " 40.0000"},   {"set_rb", "300.0000"},   {"set_ku", "100.0000"},
          {"set_ku10", " 10.0000"}, {"set_ki05", "  5.0000"}, {"set_ki020", " 20.0000"},
          {"search", "2"},          {"point", "3"},           {"select", "1"},
          {"use", "0"},             {"ver_rel_proc", "1"},    {"reg_int", "240"},
          {"pulse_int", "60"},      {"text", "Канал " + std::to_string(ch) + " котёл"},
          {"unit", "°C"}};
}

const DescriptionLines kLines = {"Линия 1", "", "третья", " "};

std::string SavedSections() {
  return SectionText("CH1", SavedChannelKeys(1)) + SectionText("CH2", SavedChannelKeys(2)) +
         SectionText("RELE", {{"select", "1"}, {"use", "1"}, {"test", "0"}, {"rel0_msk0", "5"},
                              {"rel0_msk1", "2"}, {"rel1_msk0", "64"}, {"rel1_msk1", "4"}}) +
         SectionText("Grad", {{"kalib_usr", "8"}, {"kalib_del", "90"}}) +
         SectionText("Definition",
                     {{"txt0", "Линия 1"}, {"txt1", ""}, {"txt2", "третья"}, {"txt3", " "}}) +
         SectionText("GEN", {{"gen_select", "1"}, {"proc_ver", "2"}, {"use_max", "0"},
                             {"otk_type", "255"}}) +
         SectionText("ERR", {{"err_ver", "0"}});
}

TEST(SaveProfile, ANewFileHoldsExactlyTheKeysOfASave) {
  ScratchDir dir;
  RecordingOperator op;
  DeviceSettings s = KnownRecord();
  ASSERT_TRUE(SaveProfile(dir.File("a.prf"), s, kLines, op));
  const std::string bytes = ReadBytes(dir.File("a.prf"));
  EXPECT_EQ(bytes, ToCp1251(SavedSections()));
  std::size_t keys = 0;
  for (std::size_t i = bytes.find('='); i != std::string::npos; i = bytes.find('=', i + 1)) ++keys;
  EXPECT_EQ(keys, 102u);
  EXPECT_EQ(s.description.txt, kLines);
  EXPECT_TRUE(op.calls.empty());
}

TEST(SaveProfile, SavingOverAProfileReplacesOnlyTheKeysOfASave) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("recent.prf");
  DeviceSettings loaded;
  LoadProfile(path, loaded, op);  // a complete new profile
  DeviceSettings s = KnownRecord();
  ASSERT_TRUE(SaveProfile(path, s, kLines, op));

  // Channel keys in the new profile's order with the saved values.
  auto channel = [](int ch) {
    Keys keys = test::NewChannelKeys(ch);
    for (const auto& [key, value] : SavedChannelKeys(ch)) test::Override(keys, key, value);
    return keys;
  };
  Keys grad = test::NewGradKeys();
  test::Override(grad, "kalib_del", "90");
  const std::string expected =
      SectionText("CH1", channel(1)) + SectionText("CH2", channel(2)) +
      SectionText("RELE", {{"select", "1"}, {"test", "0"}, {"use", "1"}, {"rel0_msk0", "5"},
                           {"rel0_msk1", "2"}, {"rel1_msk0", "64"}, {"rel1_msk1", "4"}}) +
      SectionText("Grad", grad) + SectionText("ERR", {{"err_ver", "0"}}) +
      SectionText("GEN", {{"gen_select", "1"}, {"proc_ver", "2"}, {"use_max", "0"},
                          {"dev_type", "47"}, {"otk_type", "255"}}) +
      SectionText("Definition",
                  {{"txt0", "Линия 1"}, {"txt1", ""}, {"txt2", "третья"}, {"txt3", " "}}) +
      test::NewSensorRangeSections();
  EXPECT_EQ(ReadBytes(path), ToCp1251(expected));
}

TEST(SaveProfile, WhatASaveWritesALoadReadsBack) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("round.prf");
  DeviceSettings saved = KnownRecord();
  saved.channel[0].th1 = 123456.789f;
  saved.channel[1].koef3 = -4.5e-9f;
  saved.channel[1].shift = 3.0e20f;
  ASSERT_TRUE(SaveProfile(path, saved, kLines, op));
  DeviceSettings loaded;
  const DescriptionLines lines = LoadProfile(path, loaded, op);
  for (int ch = 0; ch < 2; ++ch) {
    const ChannelSettings& a = saved.channel[ch];
    const ChannelSettings& b = loaded.channel[ch];
    EXPECT_EQ(b.dat, a.dat);
    EXPECT_EQ(b.koef2, a.koef2);
    EXPECT_EQ(b.koef3, a.koef3);
    EXPECT_EQ(b.shift, a.shift);
    EXPECT_EQ(b.th1, a.th1);
    EXPECT_EQ(b.reg_int, a.reg_int);
    EXPECT_EQ(b.text, a.text);
    EXPECT_EQ(b.unit, a.unit);
  }
  EXPECT_EQ(loaded.general.otk_type, 255);
  EXPECT_EQ(loaded.relay.rel1_msk0, 64);
  EXPECT_EQ(lines[2], "третья");
  EXPECT_EQ(lines[3], "");  // blanks around a value do not survive
}

TEST(SaveProfile, AReadOnlyProfileIsMadeWritableFirst) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("ro.prf");
  WriteBytes(path, "[GEN]\r\ndev_type=47\r\n");
  chmod(path.c_str(), 0444);
  DeviceSettings s = KnownRecord();
  EXPECT_TRUE(SaveProfile(path, s, kLines, op));
  EXPECT_EQ(ReadBytes(path).substr(0, 20), "[GEN]\r\ndev_type=47\r\n");
  EXPECT_TRUE(op.calls.empty());
}

TEST(SaveProfile, AFailedWriteIsReportedAndLeavesNothingHalfWritten) {
  ScratchDir dir;
  RecordingOperator op;
  DeviceSettings s = KnownRecord();
  const std::string missing = dir.File("gone/a.prf");
  EXPECT_FALSE(SaveProfile(missing, s, kLines, op));
  EXPECT_EQ(op.Messages(),
            std::vector<std::string>{"message|Ошибка|Unable to write to " + missing + "|error"});

  // A folder in the way: the save fails and leaves no stray files behind.
  const std::string folder = dir.File("dir.prf");
  mkdir(folder.c_str(), 0755);
  EXPECT_FALSE(SaveProfile(folder, s, kLines, op));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"dir.prf"});
  EXPECT_EQ(op.Messages().size(), 2u);
}

}  // namespace
}  // namespace zrm
