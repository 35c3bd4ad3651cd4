// Profiles and dev.dat as they arrive from colleagues and old PCs: binary
// garbage, 10 MB lines, thousands of sections, missing sections, values out
// of every range, text that is not cp1251. Each loads without a crash, gives
// missing keys their Absent values, leaves a float without a number as it
// was, and goes through the editor and the report without reading any table
// outside its bounds (the sanitizer build checks that).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "app/link_config_file.h"
#include "editor/editor_binding.h"
#include "profiles/profile_file.h"
#include "report/configuration_page.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

class BadProfile : public ::testing::Test {
 protected:
  // Loads `bytes` as a profile, then shows the record in the editor,
  // collects it again and builds the report page from it.
  DeviceSettings Load(const std::string& bytes) {
    const std::string path = dir_.File("bad.prf");
    WriteBytes(path, bytes);
    DeviceSettings s;
    LoadProfile(path, s, op_);
    EditorForm form;
    DeviceSettings shown = s;
    SettingsToEditor(shown, form, 1);
    EditorToSettings(form, shown, op_);
    page_ = BuildConfigurationPage(shown, PrintDate{1, 2, 2024});
    return s;
  }

  // The bytes a save of `s` writes to a file of its own.
  std::string SavedBytes(DeviceSettings s, const std::string& name) {
    RecordingOperator op;
    EXPECT_TRUE(SaveProfile(dir_.File(name), s, s.description.txt, op));
    return ReadBytes(dir_.File(name));
  }

  ScratchDir dir_;
  RecordingOperator op_;
  ConfigurationPage page_;
};

TEST_F(BadProfile, BinaryGarbageLoadsAsAProfileWithoutKeys) {
  const DeviceSettings garbage = Load(RandomBytes(256 * 1024, 7));
  const DeviceSettings empty = Load("");
  EXPECT_EQ(SavedBytes(garbage, "garbage.prf"), SavedBytes(empty, "empty.prf"));
  EXPECT_EQ(garbage.channel[1].ns, 0);     // Absent, not the New value 1
  EXPECT_EQ(garbage.channel[0].dat, 17);
  EXPECT_EQ(garbage.general.otk_type, 47);
  EXPECT_TRUE(op_.Messages().empty());
}

TEST_F(BadProfile, HugeLinesArriveCutTo1023Characters) {
  // One line of 10 MB and two of 1 MB keep the file (which a load saves
  // again) small enough for a quick test.
  const std::string huge_digits(kTenMegabytes / 10, '9');
  const std::string huge_text(kTenMegabytes, '\xC6');  // cp1251 "Ж"
  const DeviceSettings s =
      Load("[CH1]\r\ndat=" + huge_digits + "\r\ndiap_max=12.5" + huge_digits + "\r\ntext=" +
           huge_text + "\r\n[RELE]\r\nuse=" + std::string(kTenMegabytes / 10, ' ') +
           "0\r\n[Grad]\r\nwr_grad_immid=1\r\n[GEN]\r\notk_type=5\r\n");
  EXPECT_EQ(s.channel[0].dat, 17);  // 1023 digits are no valid integer
  EXPECT_FLOAT_EQ(s.channel[0].diap_max, 12.5999999f);  // only 16 characters count
  std::string expected_text;
  for (int i = 0; i < 1023; ++i) expected_text += "Ж";
  EXPECT_EQ(s.channel[0].text, expected_text);
  EXPECT_EQ(s.relay.use, 0);  // blanks before the value do not count
  EXPECT_EQ(s.general.otk_type, 5);
}

TEST_F(BadProfile, ThousandsOfSectionsTheFirstOfEachNameCounts) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i)
    bytes += "[Junk" + std::to_string(i) + "]\r\ndat=3\r\nkey" + std::to_string(i) + "=x\r\n";
  bytes += "[ch1]\r\ndat=5\r\n";
  for (int i = 0; i < 3000; ++i) bytes += "[CH1]\r\ndat=" + std::to_string(i % 25) + "\r\n";
  bytes += "[Dat_bound24]\r\nmax=1234.5\r\n[Dat_bound24]\r\nmax=1.0\r\n";
  const DeviceSettings s = Load(bytes);
  EXPECT_EQ(s.channel[0].dat, 5);
  EXPECT_EQ(s.channel[1].dat, 17);
  EXPECT_FLOAT_EQ(s.sensor_ranges[24].max, 1234.5f);
}

TEST_F(BadProfile, MissingSectionsGiveTheirAbsentValues) {
  const DeviceSettings s = Load("[CH1]\r\nns=3\r\n");
  EXPECT_EQ(s.channel[0].ns, 3);
  EXPECT_EQ(s.channel[1].ns, 0);
  EXPECT_EQ(s.channel[1].use, 0);
  EXPECT_EQ(s.channel[1].ver_rel_proc, 1);
  EXPECT_EQ(s.channel[1].text, "Канал 2");
  EXPECT_EQ(s.relay.select, 1);
  EXPECT_EQ(s.calibration.kalib_del, 90);
  EXPECT_EQ(s.description.txt[0], "Прибор ЗРМ48ХХ Н. Описение настроек текущего профиля.");
  // The load completes the file with the two keys it writes back.
  const std::string written = ReadBytes(dir_.File("bad.prf"));
  EXPECT_NE(written.find("wr_grad_immid=1"), std::string::npos);
  EXPECT_NE(written.find("otk_type=47"), std::string::npos);
}

TEST_F(BadProfile, ValuesOutOfEveryRangeNeverLeaveTheTables) {
  const DeviceSettings s = Load(
      "[CH1]\r\ndat=999\r\npoint=77\r\nns=-5\r\nsearch=1000\r\nth_type1=255\r\n"
      "th_type2=-2147483648\r\nreg_int=100000\r\npulse_int=-1\r\ndiap_max=1e39\r\n"
      "diap_min=nan\r\nflag=1\r\n"
      "[CH2]\r\ndat=-1\r\npoint=-2147483649\r\nuse=$FFFFFFFF\r\nth1=-1e39\r\n"
      "[RELE]\r\nrel0_msk0=0xFFFFFFFF\r\nrel1_msk1=2147483647\r\n"
      "[GEN]\r\nproc_ver=9\r\notk_type=4096\r\nuse_max=5\r\n[ERR]\r\nerr_ver=-7\r\n"
      "[Dat_bound24]\r\nmax=1e39\r\nmin=-1e39\r\npogr=nan\r\n");
  EXPECT_EQ(s.channel[0].dat, 999);
  EXPECT_EQ(s.channel[1].dat, -1);
  EXPECT_EQ(s.channel[1].point, 1);  // beyond 32 bits: Absent
  EXPECT_EQ(s.channel[1].use, -1);
  EXPECT_EQ(s.relay.rel0_msk0, -1);
  EXPECT_TRUE(std::isinf(s.channel[0].diap_max));
  EXPECT_FLOAT_EQ(s.channel[0].diap_min, 0.0f);  // no number: as before the load
  EXPECT_EQ(s.general.proc_ver, 9);

  EditorForm form;
  DeviceSettings shown = s;
  SettingsToEditor(shown, form, 1);
  EXPECT_EQ(form.channel[0].dat, kNoSelection);
  EXPECT_EQ(form.channel[1].dat, kNoSelection);
  EXPECT_EQ(form.channel[0].point, kNoSelection);
  // A device type without wording gives a page with its date line only.
  EXPECT_TRUE(page_.body.empty());
  EXPECT_FALSE(page_.date_line.empty());
}

TEST_F(BadProfile, TextThatIsNotCp1251) {
  // A copy edited on Linux: UTF-8 with characters cp1251 cannot hold.
  DeviceSettings s = Load("[CH1]\r\ntext=Температура 温度\r\nunit=°C ✓\r\n");
  EXPECT_EQ(s.channel[0].text, "Температура 温度");
  EXPECT_EQ(s.channel[0].unit, "°C ✓");
  // On disk a profile is cp1251: what it cannot hold becomes "?".
  const std::string saved = SavedBytes(s, "saved.prf");
  EXPECT_NE(saved.find("text=\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 ??\r\n"), std::string::npos);
  EXPECT_NE(saved.find("unit=\xB0" "C ?\r\n"), std::string::npos);

  // Malformed UTF-8 is read as cp1251, byte by byte; 0x98, which cp1251
  // leaves undefined, survives as its own character.
  s = Load("[CH1]\r\ntext=\xC0\xE1\x98\xFF\r\n");
  EXPECT_EQ(s.channel[0].text, "Аб\xC2\x98я");
}

TEST(BadDevDat, GarbageAndHugeValuesGiveTheDefaults) {
  ScratchDir dir;
  // One long line of garbage (a lone LF would come back as CR LF).
  std::string garbage = RandomBytes(64 * 1024, 11);
  std::replace(garbage.begin(), garbage.end(), '\n', ' ');
  std::replace(garbage.begin(), garbage.end(), '\r', ' ');
  WriteBytes(dir.File("dev.dat"),
             garbage + "\r\n[LOG]\r\nLogFileName=" + std::string(kTenMegabytes, 'L') +
                 "\r\n[COM_SETTINGS]\r\nNumber=99999999999\r\n[SETTINGS]\r\nNOfReadings=-3\r\n");
  RecordingOperator op;
  const LinkConfig config = LoadLinkConfig(dir.Path(), op);
  EXPECT_EQ(config.port_number, 1);
  EXPECT_EQ(config.speed, 9600);
  EXPECT_EQ(config.attempts, 2u);
  EXPECT_EQ(config.timeout_ms, 1000u);
  EXPECT_EQ(config.log_file_name, std::string(1023, 'L'));
  EXPECT_EQ(config.port_paths[0], "/dev/ttyS0");
  EXPECT_TRUE(op.Messages().empty());

  // The garbage stays; the file is completed, and reads the same again.
  const std::string written = ReadBytes(dir.File("dev.dat"));
  EXPECT_EQ(written.rfind(garbage, 0), 0u);
  RecordingOperator again_op;
  const LinkConfig again = LoadLinkConfig(dir.Path(), again_op);
  EXPECT_EQ(again.log_file_name, config.log_file_name);
  EXPECT_EQ(again.attempts, 2u);
}

}  // namespace
}  // namespace zrm::test
