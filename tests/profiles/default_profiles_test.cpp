#include "profiles/default_profiles.h"

#include <sys/stat.h>

#include <string>
#include <vector>

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

struct Model {
  std::string file, dat, th_type1, th_type2, his1, rel0_msk0, rel1_msk0, rel1_msk1, proc_ver;
  std::string txt0, txt1, txt2;
};

const std::string kTwoChannels =
    "В каждом канале одна уставка. Реле 1 назначено на 1 уставку первого канала, реле 2 - на 1 "
    "уставку второго канала.";

const std::vector<Model> kModels = {
    {"ZRM4810.prf", "17", "2", "2", "0.02", "1", "6", "0", "0",
     "Прибор ЗРМ 4810 Н. Одноканальный прибор.", "Реле 1 назначено на 1 уставку.",
     "Реле 2 сработает при обрыве датчика или при срабатывании второй уставки"},
    {"ZRM4811.prf", "17", "0", "0", "0.02", "1", "2", "0", "0",
     "Прибор ЗРМ 4811 Н. Одноканальный прибор.",
     "Две уставки. Реле 1 назначено на 1 уставку, реле 2 - на вторую.", ""},
    {"ZRM4813.prf", "17", "0", "0", "0.02", "1", "0", "1", "1",
     "Прибор ЗРМ 4813 Н. Двухканальный прибор.", kTwoChannels, ""},
    {"ZRM4816.prf", "17", "0", "0", "10.0", "16", "8", "0", "2",
     "Прибор ЗРМ 4816 Н. Одноканальный прибор с пропорциональным управлением задвижкой.",
     "Реле 1 включает задвижку на закрытие, реле 2 - на открытие.", ""},
    {"ZRM48XX_progon.prf", "19", "2", "0", "0.02", "1", "0", "1", "1",
     "Профиль для технологического прогона. Двухканальный прибор.", kTwoChannels, ""},
    {"ZRM48XX_pogrR.prf", "22", "0", "0", "0.02", "0", "0", "0", "1",
     "Определение погрешности по R. Двухканальный прибор.", "Реле отключены.", ""},
    {"ZRM48XX_pogrU100.prf", "20", "0", "0", "0.02", "0", "0", "0", "1",
     "Определение погрешности по 100 мВ. Двухканальный прибор.", "Реле отключены.", ""},
    {"ZRM48XX_pogrU10.prf", "23", "0", "0", "0.02", "0", "0", "0", "1",
     "Определение погрешности по U 10 В. Двухканальный прибор.", "Реле отключены.", ""},
    {"ZRM48XX_pogrI.prf", "19", "0", "0", "0.02", "0", "0", "0", "1",
     "Определение погрешности по I. Двухканальный прибор.", "Реле отключены.", ""},
};

Keys ModelChannel(const Model& m, int channel) {
  Keys keys = test::NewChannelKeys(channel);
  test::Override(keys, "dat", m.dat);
  test::Override(keys, "th_type1", m.th_type1);
  test::Override(keys, "th_type2", m.th_type2);
  test::Override(keys, "his1", m.his1);
  if (m.file == "ZRM48XX_pogrU100.prf") {
    // th2, spd_th, spd_his, his1, his2
    const Keys steps = {keys[15], keys[16]};
    keys.erase(keys.begin() + 15, keys.begin() + 17);
    keys.insert(keys.begin() + 13, steps.begin(), steps.end());
  }
  return keys;
}

std::string ExpectedModelProfile(const Model& m) {
  Keys grad = test::NewGradKeys();
  test::Override(grad, "kalib_del", "90");
  std::string ranges = test::NewSensorRangeSections();
  if (m.file == "ZRM48XX_pogrU10.prf") {
    const std::string from = "[Dat_bound6]\r\nmax=600.0\r\nmin=-50.0\r\n";
    ranges.replace(ranges.find(from), from.size(), "[Dat_bound6]\r\nmax=600.0\r\nmin=-100.0\r\n");
  }
  return SectionText("CH1", ModelChannel(m, 1)) + SectionText("CH2", ModelChannel(m, 2)) +
         SectionText("RELE", {{"select", "1"}, {"test", "0"}, {"use", "1"},
                              {"rel0_msk0", m.rel0_msk0}, {"rel0_msk1", "0"},
                              {"rel1_msk0", m.rel1_msk0}, {"rel1_msk1", m.rel1_msk1}}) +
         SectionText("Grad", grad) + SectionText("ERR", {{"err_ver", "0"}}) +
         SectionText("GEN", {{"gen_select", "1"}, {"proc_ver", m.proc_ver}, {"use_max", "0"},
                             {"dev_type", "47"}}) +
         SectionText("Definition",
                     {{"txt0", m.txt0}, {"txt1", m.txt1}, {"txt2", m.txt2}, {"txt3", ""}}) +
         ranges;
}

TEST(DefaultProfiles, AnEmptyFolderGetsTheNineFilesExactly) {
  ScratchDir dir;
  RecordingOperator op;
  EXPECT_EQ(CreateDefaultProfiles(dir.Path(), op), 9);
  EXPECT_TRUE(op.calls.empty());
  EXPECT_EQ(dir.Entries().size(), 9u);
  for (const Model& m : kModels) {
    const std::string bytes = ReadBytes(dir.File(m.file));
    EXPECT_EQ(bytes, ToCp1251(ExpectedModelProfile(m))) << m.file;
    std::size_t keys = 0;
    for (std::size_t i = bytes.find('='); i != std::string::npos; i = bytes.find('=', i + 1))
      ++keys;
    EXPECT_EQ(keys, 196u) << m.file;
  }
}

TEST(DefaultProfiles, ExistingFilesAreNeverTouched) {
  ScratchDir dir;
  RecordingOperator op;
  CreateDefaultProfiles(dir.Path(), op);
  WriteBytes(dir.File("ZRM4810.prf"), "edited by the user");
  WriteBytes(dir.File("ZRM48XX_pogrI.prf"), "");
  ASSERT_EQ(std::remove(dir.File("ZRM4813.prf").c_str()), 0);

  EXPECT_EQ(CreateDefaultProfiles(dir.Path(), op), 1);
  EXPECT_EQ(ReadBytes(dir.File("ZRM4813.prf")), ToCp1251(ExpectedModelProfile(kModels[2])));
  EXPECT_EQ(ReadBytes(dir.File("ZRM4810.prf")), "edited by the user");
  EXPECT_EQ(ReadBytes(dir.File("ZRM48XX_pogrI.prf")), "");
  EXPECT_EQ(CreateDefaultProfiles(dir.Path(), op), 0);
  EXPECT_TRUE(op.calls.empty());
}

TEST(DefaultProfiles, LoadingTheValveModelGivesItsValuesAndAddsOtkType) {
  ScratchDir dir;
  RecordingOperator op;
  CreateDefaultProfiles(dir.Path(), op);
  DeviceSettings s;
  LoadProfile(dir.File("ZRM4816.prf"), s, op);
  EXPECT_FLOAT_EQ(s.channel[0].his1, 10.0f);
  EXPECT_FLOAT_EQ(s.channel[1].his1, 10.0f);
  EXPECT_EQ(s.relay.rel0_msk0, 16);
  EXPECT_EQ(s.relay.rel1_msk0, 8);
  EXPECT_EQ(s.general.proc_ver, 2);
  EXPECT_EQ(s.general.otk_type, 47);
  const std::string gen = "[GEN]\r\ngen_select=1\r\nproc_ver=2\r\nuse_max=0\r\ndev_type=47\r\n";
  EXPECT_NE(ReadBytes(dir.File("ZRM4816.prf")).find(gen + "otk_type=47\r\n[Definition]"),
            std::string::npos);

  LoadProfile(dir.File("ZRM48XX_pogrU10.prf"), s, op);
  EXPECT_FLOAT_EQ(s.sensor_ranges[6].min, -100.0f);
  LoadProfile(dir.File("ZRM48XX_pogrR.prf"), s, op);
  EXPECT_EQ(s.channel[1].dat, 22);
  EXPECT_FLOAT_EQ(s.sensor_ranges[22].max, 300.0f);
  EXPECT_TRUE(op.calls.empty());
}

TEST(DefaultProfiles, FilesThatCannotBeWrittenAreReportedOnceAndTheRestCreated) {
  ScratchDir dir;
  RecordingOperator op;
  // Folders in the way of two of the files.
  mkdir(dir.File("ZRM4811.prf").c_str(), 0755);
  mkdir(dir.File("ZRM48XX_pogrI.prf").c_str(), 0755);
  EXPECT_EQ(CreateDefaultProfiles(dir.Path(), op), 7);
  EXPECT_EQ(op.Messages(),
            std::vector<std::string>{"message|Ошибка|Unable to write to " + dir.File("ZRM4811.prf") +
                                     "\nUnable to write to " + dir.File("ZRM48XX_pogrI.prf") +
                                     "|error"});
  EXPECT_EQ(ReadBytes(dir.File("ZRM48XX_pogrU10.prf")), ToCp1251(ExpectedModelProfile(kModels[7])));
}

}  // namespace
}  // namespace zrm
