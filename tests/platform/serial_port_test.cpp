#include "platform/serial_port.h"
#include "platform/system_reason.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/platform_texts.h"
#include "lib/pseudo_terminal.h"
#include "platform/port_line.h"
#include "support/ordinary_user.h"
#include "support/recording_serial_control.h"

namespace zrm {
namespace {

using std::chrono::milliseconds;
using sim::PseudoTerminal;
using test::AsOrdinaryUser;
using test::Nobody;
using test::OrdinaryUser;
using test::RecordingSerialControl;
using Call = RecordingSerialControl::Call;
using ::testing::HasSubstr;
using ::testing::StartsWith;

auto Elapsed(SteadyClock::time_point since) {
  return std::chrono::duration_cast<milliseconds>(SteadyClock::now() - since);
}

// Reads from `port` until `count` bytes came or the time is up.
std::string ReadBytes(SerialPort& port, std::size_t count, milliseconds within) {
  const auto deadline = SteadyClock::now() + within;
  std::string bytes;
  std::uint8_t chunk[64];
  while (bytes.size() < count) {
    const LineRead read = port.Read(chunk, sizeof chunk, deadline);
    if (read.status != LineReadStatus::kData) break;
    bytes.append(reinterpret_cast<const char*>(chunk), read.count);
  }
  return bytes;
}

class SerialPortOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string reason;
    ASSERT_TRUE(pty_.Open(reason)) << reason;
    ASSERT_TRUE(port_.Open(pty_.SlavePath(), 9600, reason)) << reason;
  }

  PseudoTerminal pty_;
  SerialPort port_;
};

TEST_F(SerialPortOnPty, LineIsRaw8N1WithoutFlowControlAtEverySpeed) {
  for (auto [speed, code] : {std::pair{4800, B4800}, std::pair{9600, B9600},
                             std::pair{19200, B19200}, std::pair{38400, B38400},
                             std::pair{57600, B57600}}) {
    std::string reason;
    ASSERT_TRUE(port_.Open(pty_.SlavePath(), speed, reason)) << reason;
    // The settings belong to the terminal, so a second descriptor shows them.
    const int fd = ::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&tio), code) << speed;
    EXPECT_EQ(::cfgetispeed(&tio), code) << speed;
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | IGNCR | INLCR | ISTRIP | IGNBRK), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  }
}

TEST_F(SerialPortOnPty, EveryByteValuePassesUnchangedBothWays) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  pty_.Send(all);
  EXPECT_EQ(ReadBytes(port_, all.size(), milliseconds(2000)), all);

  port_.Write(reinterpret_cast<const std::uint8_t*>(all.data()), all.size());
  std::string echoed;
  while (echoed.size() < all.size()) {
    const std::string more = pty_.Receive('\xFF', milliseconds(2000));
    if (more.empty()) break;
    echoed += more;
  }
  EXPECT_EQ(echoed, all);
}

TEST_F(SerialPortOnPty, ReadWaitsUntilTheDeadlineWhenNothingComes) {
  std::uint8_t buffer[32];
  const auto start = SteadyClock::now();
  const LineRead read = port_.Read(buffer, sizeof buffer, start + milliseconds(200));
  EXPECT_EQ(read.status, LineReadStatus::kTimedOut);
  EXPECT_GE(Elapsed(start), milliseconds(200));
  EXPECT_LT(Elapsed(start), milliseconds(400));
  EXPECT_TRUE(port_.IsOpen());
}

TEST_F(SerialPortOnPty, ReadReturnsAsSoonAsBytesArrive) {
  std::thread peer([this] {
    std::this_thread::sleep_for(milliseconds(50));
    pty_.Send("!1;3F;\r");
  });
  std::uint8_t buffer[32];
  const auto start = SteadyClock::now();
  const LineRead read = port_.Read(buffer, sizeof buffer, start + milliseconds(3000));
  peer.join();
  EXPECT_EQ(read.status, LineReadStatus::kData);
  EXPECT_GT(read.count, 0u);
  EXPECT_LT(Elapsed(start), milliseconds(1000));
}

TEST_F(SerialPortOnPty, HangupEndsTheReadAtOnceAndClosesThePort) {
  std::thread peer([this] {
    std::this_thread::sleep_for(milliseconds(50));
    pty_.Close();
  });
  std::uint8_t buffer[32];
  const auto start = SteadyClock::now();
  const LineRead read = port_.Read(buffer, sizeof buffer, start + milliseconds(3000));
  peer.join();
  EXPECT_EQ(read.status, LineReadStatus::kGone);
  EXPECT_LT(Elapsed(start), milliseconds(1000));
  EXPECT_FALSE(port_.IsOpen());
  // The slave device is gone with its master, so it cannot come back, not
  // even when another program's new terminal gets its number.
  const std::string freed = pty_.SlavePath();
  std::vector<std::unique_ptr<sim::PseudoTerminal>> others;
  std::string reason;
  while (others.size() < 8 && (others.empty() || others.back()->SlavePath() != freed)) {
    others.push_back(std::make_unique<sim::PseudoTerminal>());
    ASSERT_TRUE(others.back()->Open(reason)) << reason;
  }
  EXPECT_FALSE(port_.Reopen());
  EXPECT_EQ(port_.Read(buffer, sizeof buffer, SteadyClock::now() + milliseconds(500)).status,
            LineReadStatus::kGone);
}

TEST_F(SerialPortOnPty, DiscardInputDropsWaitingBytes) {
  pty_.Send("!1;stale;\r");
  std::this_thread::sleep_for(milliseconds(50));
  port_.DiscardInput();
  std::uint8_t buffer[32];
  EXPECT_EQ(port_.Read(buffer, sizeof buffer, SteadyClock::now() + milliseconds(100)).status,
            LineReadStatus::kTimedOut);
}

TEST_F(SerialPortOnPty, SecondOpenIsRefusedUntilTheFirstLetsGo) {
  SerialPort other;
  std::string reason;
  EXPECT_FALSE(other.Open(pty_.SlavePath(), 9600, reason));
  EXPECT_THAT(reason, StartsWith(pty_.SlavePath() + ": "));
  EXPECT_THAT(reason, HasSubstr(platform_texts::kDeviceBusy));
  EXPECT_FALSE(other.IsOpen());

  port_.Close();
  EXPECT_TRUE(other.Reopen());
  EXPECT_TRUE(other.IsOpen());
  // A port closed on purpose stays closed.
  EXPECT_FALSE(port_.Reopen());
}

TEST(SerialPortOpen, FailuresNameTheDeviceAndTheReason) {
  SerialPort port;
  std::string reason;
  EXPECT_FALSE(port.Open("/dev/zrm-no-such-tty", 9600, reason));
  EXPECT_EQ(reason, "/dev/zrm-no-such-tty: нет такого файла или устройства");
  EXPECT_FALSE(port.IsOpen());

  EXPECT_FALSE(port.Open("/dev/null", 9600, reason));
  EXPECT_EQ(reason, std::string("/dev/null: ") + platform_texts::kNotSerialDevice);

  PseudoTerminal pty;
  ASSERT_TRUE(pty.Open(reason)) << reason;
  EXPECT_FALSE(port.Open(pty.SlavePath(), 1200, reason));
  EXPECT_THAT(reason, HasSubstr(platform_texts::kUnsupportedSpeed));
  EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPortModes, Rs485IsAskedOfTheDriverAndARefusalNamesThePortAndTheReason) {
  PseudoTerminal pty;
  std::string reason;
  ASSERT_TRUE(pty.Open(reason)) << reason;
  const Call rs485{TIOCSRS485, SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND};
  struct Row {
    int refusal;
    const char* why;  // empty: the mode is on
  };
  for (const Row& row : {Row{0, ""}, Row{ENOTTY, "драйвер порта его не поддерживает"},
                         Row{EPERM, "нет доступа"}}) {
    RecordingSerialControl driver;
    driver.rs485_error = row.refusal;
    SerialPort port(driver);
    const bool opened = port.Open(pty.SlavePath(), 9600, reason, PortModes{.rs485 = true});
    EXPECT_EQ(driver.calls, std::vector{rs485}) << row.refusal;
    EXPECT_EQ(opened, *row.why == '\0') << row.refusal;
    EXPECT_EQ(port.IsOpen(), opened);
    if (!opened) {
      EXPECT_EQ(reason, pty.SlavePath() + ": " + platform_texts::kNoRs485 + row.why);
    }
  }
  // The mode stays asked for when the port is opened again.
  RecordingSerialControl driver;
  SerialPort port(driver);
  ASSERT_TRUE(port.Open(pty.SlavePath(), 9600, reason, PortModes{.rs485 = true})) << reason;
  port.Close();
  EXPECT_FALSE(port.Reopen());
  ASSERT_TRUE(port.Open(pty.SlavePath(), 9600, reason, PortModes{.rs485 = true})) << reason;
  ASSERT_TRUE(port.Reopen());
  EXPECT_EQ(driver.calls, std::vector({rs485, rs485, rs485}));
}

TEST(SerialPortModes, APseudoTerminalAndANetworkLineAreLeftAlone) {
  PseudoTerminal pty;
  std::string reason;
  ASSERT_TRUE(pty.Open(reason)) << reason;
  RecordingSerialControl driver;
  PortLine line(driver);
  ASSERT_TRUE(line.Open(pty.SlavePath(), 9600, reason)) << reason;
  EXPECT_EQ(line.TakeNotice(), "");
  // RS-485 belongs to the device server's port, never to the connection.
  EXPECT_FALSE(line.Open("tcp://127.0.0.1:1", 9600, reason, PortModes{.rs485 = true}));
  EXPECT_EQ(reason, std::string("tcp://127.0.0.1:1: ") + platform_texts::kRs485NotOnNetwork);
  EXPECT_FALSE(line.IsOpen());
  EXPECT_TRUE(driver.calls.empty());
}

TEST(SerialPortOpen, AnOrdinaryUserOpensThePortAgainAfterClosingIt) {
  PseudoTerminal pty;  // keeps its side of the slave open, as the simulator does
  std::string reason;
  ASSERT_TRUE(pty.Open(reason)) << reason;
  const OrdinaryUser user = Nobody();
  if (::getuid() == 0) {
    ASSERT_EQ(::chown(pty.SlavePath().c_str(), user.uid, user.gid), 0);
  }

  const std::string outcome = AsOrdinaryUser(user, [&] {
    SerialPort port;
    for (const char* attempt : {"first", "second", "third"}) {
      std::string why;
      if (!port.Open(pty.SlavePath(), 9600, why)) return std::string(attempt) + " open: " + why;
      port.Close();
    }
    // Reopen() after a close of its own goes through the same close.
    std::string why;
    if (!port.Open(pty.SlavePath(), 9600, why) || !port.Reopen() || !port.Reopen())
      return "reopen: " + why;
    return std::string("every open succeeded");
  });
  EXPECT_EQ(outcome, "every open succeeded");
}

TEST(SystemReasonTest, ReasonsAPortOrAFileMeetAreRussianOthersKeepTheSystemText) {
  const std::pair<int, const char*> cases[] = {
      {ENOENT, "нет такого файла или устройства"}, {ENXIO, "нет такого устройства"},
      {EACCES, "нет доступа"},  {EBUSY, "устройство занято другой программой"},
      {ENOTTY, "это не последовательный порт"}, {EROFS, "файловая система только для чтения"},
      {ENOSPC, "на диске нет места"}, {EIO, "ошибка системы: Input/output error"}};
  for (const auto& [error, text] : cases) EXPECT_EQ(SystemReason(error), text) << error;
}

TEST(SerialPortOpen, PermissionDeniedNamesTheOwningGroup) {
  char path[] = "/tmp/zrm-tty-XXXXXX";
  const int fd = ::mkstemp(path);
  ASSERT_GE(fd, 0);
  ::close(fd);
  struct stat info{};
  ASSERT_EQ(::stat(path, &info), 0);
  const group* owner = ::getgrgid(info.st_gid);
  ASSERT_NE(owner, nullptr);

  const std::string text = DescribeOpenError(path, EACCES);
  EXPECT_THAT(text, StartsWith(std::string(path) + ": нет доступа. "));
  EXPECT_THAT(text, HasSubstr(platform_texts::kJoinGroupHint));
  EXPECT_THAT(text, HasSubstr(std::string("«") + owner->gr_name + "»"));
  ::unlink(path);
  // A device that cannot even be examined gets the usual serial group.
  EXPECT_THAT(DescribeOpenError("/dev/zrm-no-such-tty", EACCES),
              HasSubstr("«dialout». Выполните: sudo usermod -aG dialout $USER и войдите в "
                        "систему заново."));
}

}  // namespace
}  // namespace zrm
