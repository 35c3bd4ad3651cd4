#include "app/link_config_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/link.h"
#include "support/recording_operator.h"

namespace zrm {
namespace {

namespace fs = std::filesystem;

const std::string kLinkCaption = "Проверьте параметры установления связи с прибором";
const std::string kPortWarning =
    "message|" + kLinkCaption + "|Слишком большой номер COM порта.|warning";
const std::string kTimeOutNotice = "message|" + kLinkCaption +
                                   "|Задан большой тайм аут. Работать будет можно, но неудобно."
                                   "|information";

const std::string kNewFile =
    "[COM_SETTINGS]\r\nNumber=1\r\nSettings=9600,N,8,2\r\n"
    "[DEVICE]\r\nEnableNetAdrr=1\r\nNetAdrr=1\r\n"
    "[SETTINGS]\r\nNOfReadings=2\r\nTimeOut=1\r\n"
    "[LOG]\r\nUseLogFile=1\r\nLogFileName=COM.txt\r\n"
    "[IZM]\r\nUseIzmFile=1\r\nIzmFileName=IZM.txt\r\n";

class DevDat : public ::testing::Test {
 protected:
  DevDat() {
    char pattern[] = "/tmp/zrm-devdat-XXXXXX";
    dir_ = ::mkdtemp(pattern);
  }
  ~DevDat() override {
    fs::permissions(dir_, fs::perms::owner_all);
    fs::remove_all(dir_);
  }

  std::string FilePath() const { return dir_ + "/dev.dat"; }
  void Write(const std::string& text) const { std::ofstream(FilePath(), std::ios::binary) << text; }
  std::string Read() const {
    std::ifstream in(FilePath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // A complete file in which `key` of `section` holds `value`.
  void WriteWith(const std::string& key, const std::string& value) const {
    std::string text = kNewFile;
    const std::size_t at = text.find("\n" + key + "=") + 1;
    const std::size_t end = text.find('\r', at);
    text.replace(at, end - at, key + "=" + value);
    Write(text);
  }
  LinkConfig Load() { return LoadLinkConfig(dir_, op_); }

  std::string dir_;
  test::RecordingOperator op_;
};

TEST_F(DevDat, MissingFileIsCreatedWithTheTenDefaults) {
  const LinkConfig config = Load();
  EXPECT_EQ(Read(), kNewFile);
  EXPECT_EQ(config.port_number, 1);
  EXPECT_EQ(config.PortPath(), "/dev/ttyS0");
  EXPECT_EQ(config.speed, 9600);
  EXPECT_EQ(config.attempts, 2u);
  EXPECT_EQ(config.timeout_ms, 1000u);
  EXPECT_EQ(config.net_address, 1u);
  EXPECT_TRUE(config.ExchangeLogOn());
  EXPECT_TRUE(config.MeasurementLogOn());
  EXPECT_EQ(config.log_file_name, "COM.txt");
  EXPECT_EQ(config.izm_file_name, "IZM.txt");
  EXPECT_TRUE(op_.calls.empty());
}

TEST_F(DevDat, DeletedKeysComeBackWithTheirDefaultsOthersStay) {
  Write("[COM_SETTINGS]\r\nNumber=2\r\n[SETTINGS]\r\nTimeOut=3\r\n[LOG]\r\nLogFileName=x.log\r\n");
  const LinkConfig config = Load();
  EXPECT_EQ(config.port_number, 2);
  EXPECT_EQ(config.timeout_ms, 3000u);
  EXPECT_EQ(config.log_file_name, "x.log");
  EXPECT_EQ(Read(),
            "[COM_SETTINGS]\r\nNumber=2\r\nSettings=9600,N,8,2\r\n"
            "[SETTINGS]\r\nTimeOut=3\r\nNOfReadings=2\r\n"
            "[LOG]\r\nLogFileName=x.log\r\nUseLogFile=1\r\n"
            "[DEVICE]\r\nNetAdrr=1\r\n"
            "[IZM]\r\nUseIzmFile=1\r\nIzmFileName=IZM.txt\r\n");
  // EnableNetAdrr goes only into a new file.
  EXPECT_EQ(Read().find("EnableNetAdrr"), std::string::npos);
}

TEST_F(DevDat, SpeedIsTheLastKnownSpeedFoundInSettings) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"19200,N,8,1", 19200}, {"4800,N,8,1", 4800},  {"baud", 4800},        {"38400,E,7,2", 38400},
      {"57600", 57600},       {"57600 9600", 57600}, {"9600 38400", 38400}, {"", 4800},
  };
  for (const auto& [settings, speed] : cases) {
    WriteWith("Settings", settings);
    EXPECT_EQ(Load().speed, speed) << settings;
  }
}

TEST_F(DevDat, AttemptsAreBroughtIntoTwoToFiveButTheFileKeepsItsValue) {
  WriteWith("NOfReadings", "1");
  EXPECT_EQ(Load().attempts, 1u);
  EXPECT_EQ(Read(), [] {
    std::string text = kNewFile;
    return text.replace(text.find("NOfReadings=2"), 13, "NOfReadings=1");
  }());
  struct NoLine : Line {
    bool IsOpen() const override { return false; }
    bool Reopen() override { return false; }
    void Write(const std::uint8_t*, std::size_t) override {}
    LineRead Read(std::uint8_t*, std::size_t, SteadyClock::time_point) override { return {}; }
    void DiscardInput() override {}
  } line;
  auto link_attempts = [&] {
    return Link(line, {1, Load().attempts, 1000}, nullptr).Params().attempts;
  };
  EXPECT_EQ(link_attempts(), 2u);
  WriteWith("NOfReadings", "9");
  EXPECT_EQ(link_attempts(), 5u);
}

TEST_F(DevDat, LargeTimeOutIsUsedWithANotice) {
  WriteWith("TimeOut", "4");
  EXPECT_EQ(Load().timeout_ms, 4000u);
  EXPECT_TRUE(op_.calls.empty());
  WriteWith("TimeOut", "5");
  EXPECT_EQ(Load().timeout_ms, 5000u);
  EXPECT_EQ(op_.Messages(), std::vector<std::string>{kTimeOutNotice});
  // Seconds times 1000 beyond 32 bits stays at the largest time-out.
  WriteWith("TimeOut", "4294967");
  EXPECT_EQ(Load().timeout_ms, 4294967000u);
  WriteWith("TimeOut", "4294968");
  EXPECT_EQ(Load().timeout_ms, 4294967295u);
}

TEST_F(DevDat, PortNumberAboveFourWarnsAndOpensNothing) {
  WriteWith("Number", "7");
  LinkConfig config = Load();
  EXPECT_EQ(config.port_number, 7);
  EXPECT_EQ(config.PortPath(), "");
  EXPECT_EQ(op_.Messages(), std::vector<std::string>{kPortWarning});

  op_.calls.clear();
  WriteWith("Number", "0");
  config = Load();
  EXPECT_EQ(config.PortPath(), "");
  EXPECT_TRUE(op_.calls.empty());

  WriteWith("Number", "-1");  // taken as unsigned it is far above 4
  EXPECT_EQ(Load().port_number, -1);
  EXPECT_EQ(op_.Messages(), std::vector<std::string>{kPortWarning});
}

TEST_F(DevDat, OnlyExactlyOneSwitchesALogOn) {
  WriteWith("UseLogFile", "2");
  EXPECT_FALSE(Load().ExchangeLogOn());
  WriteWith("UseIzmFile", "0");
  EXPECT_FALSE(Load().MeasurementLogOn());
  WriteWith("UseIzmFile", "0x1");
  EXPECT_TRUE(Load().MeasurementLogOn());
}

TEST_F(DevDat, IntegersAreDecimalOrHexAndAnythingElseGivesTheDefault) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"16", 16},
      {"0x10", 16},
      {"0XfF", 255},
      {" 42 ", 42},
      {"4294967295", 4294967295u},
      {"4294967296", 1},
      {"-1", 1},
      {"abc", 1},
      {"12abc", 1},
      {"0x", 1},
      {"", 1},
      {"0x100000000", 1},
      {"1.5", 1},
  };
  for (const auto& [text, expected] : cases) {
    WriteWith("NetAdrr", text);
    EXPECT_EQ(Load().net_address, expected) << text;
  }
  // The value used is what the file holds afterwards.
  WriteWith("NetAdrr", "abc");
  Load();
  EXPECT_NE(Read().find("\r\nNetAdrr=1\r\n"), std::string::npos);
  WriteWith("Number", "2147483648");
  EXPECT_EQ(Load().port_number, 1);
}

TEST_F(DevDat, PortsSectionOverridesDevicePathsAndIsNeverWritten) {
  // Only exactly 1 switches a port's RS-485 mode on, as for the logs.
  Write(kNewFile + "[PORTS]\r\nCOM2=/dev/ttyUSB0\r\ncom4 = /dev/serial/by-id/usb-FTDI\r\n"
                   "COM2_RS485=1\r\ncom3_rs485 = 0x1\r\nCOM4_RS485=yes\r\nCOM1_RS485=2\r\n");
  const std::string before = Read();
  LinkConfig config = Load();
  EXPECT_EQ(Read(), before);
  EXPECT_FALSE(config.port_rs485[0]);
  EXPECT_TRUE(config.port_rs485[1]);
  EXPECT_TRUE(config.port_rs485[2]);
  EXPECT_FALSE(config.port_rs485[3]);
  EXPECT_EQ(config.port_paths[0], "/dev/ttyS0");
  EXPECT_EQ(config.port_paths[1], "/dev/ttyUSB0");
  EXPECT_EQ(config.port_paths[2], "/dev/ttyS2");
  EXPECT_EQ(config.port_paths[3], "/dev/serial/by-id/usb-FTDI");
  config.port_number = 2;
  EXPECT_EQ(config.PortPath(), "/dev/ttyUSB0");
  EXPECT_TRUE(config.PortModesInUse().rs485);
  config.port_number = 5;
  EXPECT_FALSE(config.PortModesInUse().rs485);
}

TEST_F(DevDat, FileThatCannotBeWrittenIsReportedOnceAndValuesAreUsed) {
  // A complete read-only file needs no write and raises nothing.
  WriteWith("TimeOut", "2");
  ::chmod(FilePath().c_str(), 0444);
  EXPECT_EQ(Load().timeout_ms, 2000u);
  EXPECT_TRUE(op_.calls.empty());

  // One that misses a key cannot be completed: one message, values still used.
  Write("[SETTINGS]\r\nTimeOut=3\r\n");
  ::chmod(FilePath().c_str(), 0444);
  EXPECT_EQ(Load().timeout_ms, 3000u);
  ASSERT_EQ(op_.Messages().size(), 1u);
  EXPECT_EQ(op_.Messages()[0].rfind("message|Ошибка|Unable to write to " + FilePath() + "\n", 0),
            0u);
  EXPECT_EQ(Read(), "[SETTINGS]\r\nTimeOut=3\r\n");
}

TEST_F(DevDat, FolderThatCannotHoldTheFileGivesTheDefaults) {
  const std::string not_a_folder = dir_ + "/plain-file";
  std::ofstream(not_a_folder) << "x";
  const LinkConfig config = LoadLinkConfig(not_a_folder, op_);
  EXPECT_EQ(config.speed, 9600);
  EXPECT_EQ(config.PortPath(), "/dev/ttyS0");
  ASSERT_EQ(op_.Messages().size(), 1u);
  EXPECT_NE(op_.Messages()[0].find("Unable to write to " + not_a_folder + "/dev.dat\n"),
            std::string::npos);
}

TEST_F(DevDat, PortNumberIsStoredAtExit) {
  Load();
  EXPECT_TRUE(StorePortNumber(dir_, 3, op_));
  std::string expected = kNewFile;
  expected.replace(expected.find("Number=1"), 8, "Number=3");
  EXPECT_EQ(Read(), expected);
  EXPECT_EQ(Load().port_number, 3);

  ::chmod(FilePath().c_str(), 0444);
  EXPECT_FALSE(StorePortNumber(dir_, 4, op_));
  EXPECT_EQ(op_.Messages().size(), 1u);
}

TEST_F(DevDat, APickedAddressChangesNetAdrrOnly) {
  Load();
  EXPECT_TRUE(StoreNetAddress(dir_, 17, op_));
  std::string expected = kNewFile;
  expected.replace(expected.find("\nNetAdrr=1"), 10, "\nNetAdrr=17");
  EXPECT_EQ(Read(), expected);
  EXPECT_EQ(Load().net_address, 17u);

  ::chmod(FilePath().c_str(), 0444);
  EXPECT_FALSE(StoreNetAddress(dir_, 4, op_));
  EXPECT_EQ(op_.Messages().size(), 1u);
}

}  // namespace
}  // namespace zrm
