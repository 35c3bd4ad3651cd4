// The protocol through the real SerialPort against a scripted instrument on
// the master side of a pseudo-terminal: the bytes on the wire are the
// evidence.

#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "support/fake_line.h"
#include "link/link.h"
#include "link/port_opening.h"
#include "lib/pseudo_terminal.h"
#include "lib/simulator.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using std::chrono::milliseconds;
using sim::PseudoTerminal;
using test::ReadReply;

// Answers every request line with what `answer` returns for it, from its own
// thread; an empty answer leaves the request unanswered.
class ScriptedInstrument {
 public:
  using Answer = std::function<std::string(const std::string& frame)>;

  ScriptedInstrument(PseudoTerminal& pty, Answer answer)
      : pty_(pty), answer_(std::move(answer)), thread_([this] { Serve(); }) {}
  ~ScriptedInstrument() {
    stop_ = true;
    thread_.join();
  }

  std::vector<std::string> Frames() {
    std::lock_guard lock(mutex_);
    return frames_;
  }

 private:
  void Serve() {
    std::string pending;
    while (!stop_) {
      pending += pty_.Receive('\r', milliseconds(20));
      const std::size_t cr = pending.find('\r');
      if (cr == std::string::npos) continue;
      const std::string frame = pending.substr(0, cr + 1);
      pending.erase(0, cr + 1);
      {
        std::lock_guard lock(mutex_);
        frames_.push_back(frame);
      }
      pty_.Send(answer_(frame));
    }
  }

  PseudoTerminal& pty_;
  Answer answer_;
  std::mutex mutex_;
  std::vector<std::string> frames_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class LinkOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string reason;
    ASSERT_TRUE(pty_.Open(reason)) << reason;
    ASSERT_TRUE(port_.Open(pty_.SlavePath(), 9600, reason)) << reason;
  }

  PseudoTerminal pty_;
  SerialPort port_;
  test::RecordingLog log_;
  Link link_{port_, LinkParams{1, 2, 1000}, &log_};
};

TEST_F(LinkOnPty, StatusBlockFrameOnTheWireAndReplyTakenAtItsCR) {
  ScriptedInstrument instrument(
      pty_, [](const std::string&) { return ReadReply("03000000BC410C0000A0BF00000000AA"); });
  StatusBlock block{};
  const auto start = SteadyClock::now();
  EXPECT_EQ(link_.ReadStatusBlock(block), result::kOk);
  // The wait ended with the CR, not after a read window or the time-out.
  EXPECT_LT(SteadyClock::now() - start, milliseconds(500));
  EXPECT_EQ(block[0], 0x03);
  EXPECT_EQ(block[4], 0xBC);
  EXPECT_EQ(block[15], 0xAA);
  const auto frames = instrument.Frames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0], "\xFF\xFF\xFF\xFF:1;37;00E002;17248\r");
  ASSERT_EQ(log_.records.size(), 1u);
  EXPECT_LT(log_.records[0].wait_ms, 500u);
}

// Counts the reads that bring something, passing everything on.
class ReadCountingLine : public Line {
 public:
  explicit ReadCountingLine(Line& line) : line_(line) {}
  bool IsOpen() const override { return line_.IsOpen(); }
  bool Reopen() override { return line_.Reopen(); }
  void Write(const std::uint8_t* data, std::size_t size) override { line_.Write(data, size); }
  LineRead Read(std::uint8_t* buffer, std::size_t capacity,
                SteadyClock::time_point deadline) override {
    const LineRead read = line_.Read(buffer, capacity, deadline);
    reads += read.status == LineReadStatus::kData;
    return read;
  }
  void DiscardInput() override { line_.DiscardInput(); }
  int reads = 0;

 private:
  Line& line_;
};

TEST(LinkOnTimedLine, AnswerIsTakenInAFewReadsNotOnePerByte) {
  // 42 bytes at 9600 bit/s take 44 ms on the wire: the wait sleeps through
  // them once the answer has begun instead of waking for every byte.
  sim::SimulatorOptions options;
  options.line_timing = true;
  sim::Simulator simulator(options);
  std::string reason;
  ASSERT_TRUE(simulator.Start(&reason)) << reason;
  SerialPort port;
  ASSERT_TRUE(port.Open(simulator.SlavePath(), 9600, reason)) << reason;
  ReadCountingLine counting(port);
  Link link(counting, LinkParams{1, 2, 1000}, nullptr);
  StatusBlock block{};
  ASSERT_EQ(link.ReadStatusBlock(block), result::kOk);  // the first, confirmed after the open
  counting.reads = 0;
  for (int i = 0; i < 5; ++i) ASSERT_EQ(link.ReadStatusBlock(block), result::kOk);
  EXPECT_LE(counting.reads, 5 * 7);
}

TEST_F(LinkOnPty, SilentInstrumentCostsTheTimeOutPerAttempt) {
  ScriptedInstrument instrument(pty_, [](const std::string&) { return std::string(); });
  std::uint8_t value = 0;
  const auto start = SteadyClock::now();
  EXPECT_EQ(link_.ReadByte(2, 1, value), result::kNoAnswer);
  const auto elapsed = SteadyClock::now() - start;
  EXPECT_GE(elapsed, milliseconds(2000));
  EXPECT_LT(elapsed, milliseconds(2600));
  EXPECT_EQ(instrument.Frames().size(), 2u);
}

TEST_F(LinkOnPty, LateReplyToAnEarlierRequestIsNotTakenForTheNext) {
  // The last attempt of the first read is answered after its time-out, with
  // a value that must not end up as the answer to the second read.
  int requests = 0;
  ScriptedInstrument instrument(pty_, [&requests](const std::string&) {
    ++requests;
    if (requests == 2) std::this_thread::sleep_for(milliseconds(1100));
    if (requests == 1) return std::string();
    return ReadReply(requests == 2 ? "EE" : "11");
  });
  std::uint8_t value = 0;
  EXPECT_EQ(link_.ReadByte(2, 1, value), result::kNoAnswer);
  std::this_thread::sleep_for(milliseconds(300));  // the late reply is waiting now
  EXPECT_EQ(link_.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x11);
}

TEST_F(LinkOnPty, DeviceVanishingMidExchangeEndsAtOnce) {
  std::thread unplug([this] {
    pty_.Receive('\r', milliseconds(2000));
    pty_.Close();
  });
  std::uint8_t value = 0;
  const auto start = SteadyClock::now();
  EXPECT_EQ(link_.ReadByte(2, 1, value), result::kNoAnswer);
  unplug.join();
  EXPECT_EQ(link_.ReadByte(2, 1, value), result::kNoAnswer);  // the re-open fails, no wait either
  EXPECT_LT(SteadyClock::now() - start, milliseconds(500));
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_EQ(log_.records.size(), 4u);  // each attempt still leaves its entry
}

TEST(LinkOnReturningDevice, FirstExchangeAfterTheDeviceReturnsIsAnswered) {
  // The device's path is a link, as udev names an adapter; it vanishes while
  // nothing is exchanged and returns as a new device on the same path.
  test::ScratchDir dir;
  const std::string path = dir.File("ttyZRM");
  std::string reason;
  auto first = std::make_unique<PseudoTerminal>();
  ASSERT_TRUE(first->Open(reason)) << reason;
  ASSERT_EQ(::symlink(first->SlavePath().c_str(), path.c_str()), 0);
  SerialPort port;
  ASSERT_TRUE(port.Open(path, 9600, reason)) << reason;
  first.reset();
  PseudoTerminal second;
  ASSERT_TRUE(second.Open(reason)) << reason;
  ASSERT_EQ(::unlink(path.c_str()), 0);
  ASSERT_EQ(::symlink(second.SlavePath().c_str(), path.c_str()), 0);

  ScriptedInstrument instrument(second, [](const std::string&) { return ReadReply("5A"); });
  test::RecordingLog log;
  Link link(port, LinkParams{1, 2, 1000}, &log);
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x5A);
  ASSERT_EQ(log.records.size(), 1u);  // no attempt was spent on the vanished device
  EXPECT_EQ(instrument.Frames().size(), 1u);
}

TEST(PortOpening, FailureShowsTheMessageWithPathAndReason) {
  PortLine port;
  test::RecordingOperator op;
  EXPECT_FALSE(OpenPort(port, "/dev/zrm-no-such-tty", 9600, op));
  ASSERT_EQ(op.Messages().size(), 1u);
  EXPECT_EQ(op.Messages()[0],
            "message|Ошибка|Невозможно открыть последовательный порт\n"
            "/dev/zrm-no-such-tty: нет такого файла или устройства|error");

  // The link stays usable: every exchange ends with 2, without waiting.
  Link link(port, LinkParams{}, nullptr);
  std::uint8_t value = 0;
  const auto start = SteadyClock::now();
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kNoAnswer);
  EXPECT_LT(SteadyClock::now() - start, milliseconds(300));
}

TEST(PortOpening, ConfiguredNumberSelectsTheDevicePath) {
  PseudoTerminal pty;
  std::string pty_error;
  ASSERT_TRUE(pty.Open(pty_error)) << pty_error;
  LinkConfig config;
  config.port_number = 3;
  config.port_paths[2] = pty.SlavePath();
  config.speed = 57600;
  PortLine port;
  test::RecordingOperator op;
  EXPECT_TRUE(OpenConfiguredPort(port, config, op));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_TRUE(op.calls.empty());

  // A number outside 1..4 closes the port and opens nothing, silently.
  for (std::int32_t number : {0, 5, 7, -1}) {
    config.port_number = number;
    EXPECT_FALSE(OpenConfiguredPort(port, config, op)) << number;
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Reopen());
  }
  EXPECT_TRUE(op.calls.empty());
}

}  // namespace
}  // namespace zrm
