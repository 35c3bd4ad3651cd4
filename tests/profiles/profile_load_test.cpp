#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "expected_profile.h"
#include "platform/private_profile.h"
#include "profiles/profile_file.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using test::ReadBytes;
using test::RecordingOperator;
using test::ScratchDir;
using test::ToCp1251;
using test::WriteBytes;

const std::string kError = "message|Ошибка|Unable to write to ";

// The record of a new profile, whether read from a file just created or
// built in memory.
void ExpectNewRecord(const DeviceSettings& s) {
  EXPECT_EQ(s.description.txt[0], "Прибор ЗРМ 48XX Н. Описание настроек текущего профиля.");
  EXPECT_EQ(s.description.txt[3], "");
  for (int ch = 0; ch < 2; ++ch) {
    const ChannelSettings& c = s.channel[ch];
    EXPECT_EQ(c.dat, 17);
    EXPECT_EQ(c.ns, 1);
    EXPECT_EQ(c.use, 1);
    EXPECT_EQ(c.ver_rel_proc, 0);
    EXPECT_FLOAT_EQ(c.lin, 0.2f);
    EXPECT_FLOAT_EQ(c.rref, 7491.0f);
    EXPECT_FLOAT_EQ(c.spd_his, 0.01f);
    EXPECT_EQ(c.text, ch == 0 ? "Канал 1" : "Канал 2");
    EXPECT_EQ(c.unit, "<....>");
  }
  EXPECT_EQ(s.calibration.kalib_del, 180);
  EXPECT_EQ(s.calibration.wr_grad_immid, 1);
  EXPECT_FLOAT_EQ(s.calibration.ku10_min, 7.5f);
  EXPECT_EQ(s.general.use_max, 1);
  EXPECT_EQ(s.general.otk_type, 47);
  EXPECT_FLOAT_EQ(s.sensor_ranges[13].min, 300.0f);
  EXPECT_FLOAT_EQ(s.sensor_ranges[24].pogr, 0.5f);
}

TEST(LoadProfile, AMissingProfileIsCreatedWithTheNewContentAndLoaded) {
  ScratchDir dir;
  RecordingOperator op;
  DeviceSettings s;
  const DescriptionLines lines = LoadProfile(dir.File("recent.prf"), s, op);

  EXPECT_EQ(ReadBytes(dir.File("recent.prf")), ToCp1251(test::NewProfileText()));
  EXPECT_TRUE(op.calls.empty());
  EXPECT_EQ(s.description.txt, lines);
  ExpectNewRecord(s);

  // The same record built in memory, and read from a missing file, which
  // that read does not create; all saved alike.
  DeviceSettings in_memory;
  EXPECT_EQ(LoadNewProfile(in_memory), lines);
  ExpectNewRecord(in_memory);
  DeviceSettings read;
  EXPECT_EQ(ReadProfile(dir.File("missing.prf"), read), lines);
  ExpectNewRecord(read);
  ASSERT_TRUE(SaveProfile(dir.File("a.prf"), s, lines, op));
  ASSERT_TRUE(SaveProfile(dir.File("b.prf"), in_memory, lines, op));
  EXPECT_EQ(ReadBytes(dir.File("a.prf")), ReadBytes(dir.File("b.prf")));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.prf", "b.prf", "recent.prf"}));
}

TEST(LoadProfile, MissingKeysGetTheirAbsentValuesNotTheNewOnes) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("p.prf");
  const std::string content = "[CH1]\r\nns=4\r\n[CH2]\r\ndat=5\r\n";
  WriteBytes(path, content);
  DeviceSettings s;
  s.general.serial_lo = 7;
  s.general.firmware_version = 0x123;
  s.general.date_year = 2021;
  // A read for a comparison or a write gives the same record and leaves the
  // file as it is; the load writes its two keys back.
  DeviceSettings read = s;
  const DescriptionLines read_lines = ReadProfile(path, read);
  EXPECT_EQ(ReadBytes(path), content);
  const DescriptionLines lines = LoadProfile(path, s, op);
  EXPECT_EQ(read_lines, lines);

  for (const DeviceSettings& r : {read, s}) {
    EXPECT_EQ(r.channel[0].ns, 4);
    EXPECT_EQ(r.channel[1].ns, 0);
    EXPECT_EQ(r.channel[1].dat, 5);
    EXPECT_EQ(r.channel[1].use, 0);
    EXPECT_EQ(r.channel[1].ver_rel_proc, 1);
    EXPECT_EQ(r.channel[1].text, "Канал 2");
    EXPECT_FLOAT_EQ(r.channel[1].diap_max, 100.0f);
    EXPECT_FLOAT_EQ(r.channel[1].his2, 0.02f);
    EXPECT_EQ(r.calibration.kalib_del, 90);
    EXPECT_EQ(r.calibration.wr_grad_immid, 1);
    EXPECT_EQ(r.general.use_max, 0);
    EXPECT_EQ(r.general.err_ver, 1);
    EXPECT_EQ(r.general.gen_select, 1);
    EXPECT_EQ(r.general.otk_type, 47);
    EXPECT_EQ(r.relay.select, 1);
    EXPECT_FLOAT_EQ(r.sensor_ranges[9].max, 1300.0f);
    EXPECT_FLOAT_EQ(r.sensor_ranges[0].min, -50.0f);
    // What no profile carries stays as it was.
    EXPECT_EQ(r.general.serial_lo, 7);
    EXPECT_EQ(r.general.firmware_version, 0x123);
    EXPECT_EQ(r.general.date_year, 2021);
  }
  EXPECT_EQ(lines[0], "Прибор ЗРМ48ХХ Н. Описение настроек текущего профиля.");
  // The two write-backs, appended where their sections end.
  EXPECT_EQ(ReadBytes(path),
            "[CH1]\r\nns=4\r\n[CH2]\r\ndat=5\r\n[Grad]\r\nwr_grad_immid=1\r\n[GEN]\r\notk_type=47\r\n");
}

TEST(LoadProfile, ValueTextsFollowTheFormatsRules) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("p.prf");
  WriteBytes(path,
             "[CH1]\r\n"
             "diap_max=12.5abc\r\n"
             "diap_min=letters\r\n"
             "th1=1.00000000000000e5\r\n"   // the 17th character on is ignored
             "th2=   1.5e1\r\n"
             "his1=\r\n"
             "dat=0x1F\r\n"
             "wire=$10\r\n"
             "flag=12abc\r\n"
             "ns= -3\r\n"
             "search=0X7fffffff\r\n"
             "point=99999999999\r\n"
             "use=$FFFFFFFF\r\n"
             "text=  Печь №2  \r\n"
             "[GEN]\r\notk_type=$2F\r\n");
  DeviceSettings s;
  s.channel[0].diap_min = -7.0f;
  s.channel[0].his1 = 3.0f;
  LoadProfile(path, s, op);
  const ChannelSettings& c = s.channel[0];
  EXPECT_FLOAT_EQ(c.diap_max, 12.5f);
  EXPECT_FLOAT_EQ(c.diap_min, -7.0f);
  EXPECT_FLOAT_EQ(c.th1, 1.0f);
  EXPECT_FLOAT_EQ(c.th2, 15.0f);
  EXPECT_FLOAT_EQ(c.his1, 3.0f);
  EXPECT_EQ(c.dat, 31);
  EXPECT_EQ(c.wire, 16);
  EXPECT_EQ(c.flag, 0);        // Absent value of flag
  EXPECT_EQ(c.ns, -3);
  EXPECT_EQ(c.search, 2147483647);
  EXPECT_EQ(c.point, 1);       // out of range: Absent
  EXPECT_EQ(c.use, -1);
  EXPECT_EQ(c.text, "Печь №2");
  EXPECT_EQ(s.general.otk_type, 47);
  // The value read is written back in decimal.
  EXPECT_NE(ReadBytes(path).find("[GEN]\r\notk_type=47\r\n"), std::string::npos);
}

TEST(LoadProfile, AProfileWrittenOnWindowsLoads) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("win.prf");
  WriteBytes(path, ToCp1251("\r\n[ch1]\r\n DAT = 9 \r\ntext=Температура\r\nunit=°C\r\n\r\n"
                            "[Dat_bound9]\r\nmax=1200.0000\r\nmin= -40.0000\r\n\r\n"));
  DeviceSettings s;
  LoadProfile(path, s, op);
  EXPECT_EQ(s.channel[0].dat, 9);
  EXPECT_EQ(s.channel[0].text, "Температура");
  EXPECT_EQ(s.channel[0].unit, "°C");
  EXPECT_FLOAT_EQ(s.sensor_ranges[9].max, 1200.0f);
  EXPECT_FLOAT_EQ(s.sensor_ranges[9].min, -40.0f);
  EXPECT_TRUE(op.calls.empty());
}

TEST(LoadProfile, AUtf8CopyFromALinuxEditorLoads) {
  ScratchDir dir;
  RecordingOperator op;
  for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
    const std::string path = dir.File("utf8.prf");
    WriteBytes(path, bom + "[CH1]\nunit=мА\n[Definition]\ntxt1=Котельная № 3\n");
    DeviceSettings s;
    const DescriptionLines lines = LoadProfile(path, s, op);
    EXPECT_EQ(s.channel[0].unit, "мА");
    EXPECT_EQ(lines[1], "Котельная № 3");
    // Written back the Windows way.
    EXPECT_EQ(ReadBytes(path).substr(0, 16), ToCp1251("[CH1]\r\nunit=мА\r\n"));
  }
}

TEST(LoadProfile, FirstOccurrencesOfDuplicatesCount) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("dup.prf");
  WriteBytes(path, "[GEN]\r\notk_type=12\r\notk_type=13\r\n[Grad]\r\nwr_grad_immid=0\r\n"
                   "[gen]\r\notk_type=14\r\n[GRAD]\r\nwr_grad_immid=0\r\n");
  DeviceSettings s;
  LoadProfile(path, s, op);
  EXPECT_EQ(s.general.otk_type, 12);
  EXPECT_EQ(s.calibration.wr_grad_immid, 0);
  EXPECT_EQ(ReadBytes(path), "[GEN]\r\notk_type=12\r\notk_type=13\r\n[Grad]\r\nwr_grad_immid=1\r\n"
                             "[gen]\r\notk_type=14\r\n[GRAD]\r\nwr_grad_immid=0\r\n");
}

TEST(LoadProfile, BrokenProfilesLoadWithoutHarm) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("bad.prf");
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
  const std::string huge(300'000, '9');
  for (const std::string& content :
       {std::string(), garbage, "[CH1]\r\ndat=99\r\ntext=" + huge + "\r\nth1=" + huge + "\r\n",
        std::string("[CH1\r\n=\r\n[]\r\ndat\r\n\0\0\0", 14)}) {
    WriteBytes(path, content);
    DeviceSettings s;
    LoadProfile(path, s, op);
    EXPECT_LE(s.channel[0].text.size(), 1023u * 2);
    EXPECT_EQ(s.general.otk_type, 47);
  }
  DeviceSettings s;
  LoadProfile(path, s, op);
  EXPECT_TRUE(op.Messages().empty());
}

TEST(LoadProfile, AReadOnlyProfileStillLoadsCompletelyAndIsReportedOnce) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("ro.prf");
  const std::string content = "[CH1]\r\ndat=5\r\n[Grad]\r\nwr_grad_immid=0\r\nrref_min=1.5\r\n"
                              "[Dat_bound3]\r\nmax=150.0\r\n";
  WriteBytes(path, content);
  chmod(path.c_str(), 0444);
  DeviceSettings s;
  s.sensor_ranges[3].max = 999.0f;
  LoadProfile(path, s, op);
  EXPECT_EQ(op.Messages(), std::vector<std::string>{kError + path + "|error"});
  EXPECT_EQ(s.channel[0].dat, 5);
  EXPECT_EQ(s.calibration.wr_grad_immid, 0);
  EXPECT_FLOAT_EQ(s.calibration.rref_min, 1.5f);
  EXPECT_FLOAT_EQ(s.sensor_ranges[3].max, 150.0f);
  EXPECT_EQ(ReadBytes(path), content);
}

TEST(LoadProfile, AProfileThatCannotBeCreatedStillGivesTheNewValues) {
  ScratchDir dir;
  RecordingOperator op;
  const std::string path = dir.File("no/such/dir.prf");
  DeviceSettings s;
  LoadProfile(path, s, op);
  EXPECT_EQ(op.Messages(), std::vector<std::string>{kError + path + "|error"});
  EXPECT_EQ(s.channel[1].ns, 1);
  EXPECT_EQ(s.calibration.kalib_del, 180);
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
}  // namespace zrm
