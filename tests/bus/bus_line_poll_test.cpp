// The polling of a line of four simulated instruments through the real
// serial port and link: availability, identity, values as sent, writes.

#include "bus/bus_line_poll.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>

#include "app/journal_repair.h"
#include "platform/number_text.h"
#include "app/session.h"
#include "bus/bus_test_line.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using test::FourInstruments;
using test::QuickTiming;

class BusLinePollTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(simulator_.Start(&error)) << error;
    ASSERT_TRUE(port_.Open(simulator_.SlavePath(), 9600, error)) << error;
  }

  // Polls every instrument once, checking that the polls go round in order.
  std::vector<BusSnapshot> Sweep(BusLinePoll& poll, std::uint32_t instruments = 4) {
    std::vector<BusSnapshot> out;
    for (std::uint32_t address = 1; address <= instruments; ++address) {
      out.push_back(poll.PollNext());
      EXPECT_EQ(out.back().address, address);
    }
    return out;
  }

  sim::Simulator simulator_{FourInstruments()};
  SerialPort port_;
};

TEST_F(BusLinePollTest, SilentInstrumentGoesOfflineAfterItsFailedPollsAndReturnsWithItsIdentity) {
  BusLinePoll poll(3, port_, 9600, {1, 2, 3, 4}, QuickTiming(2));
  for (const BusSnapshot& s : Sweep(poll)) {
    EXPECT_EQ(s.line, 3u);
    EXPECT_EQ(s.availability, BusAvailability::kOnline);
    EXPECT_TRUE(s.identity.known);
    EXPECT_EQ(s.identity_reads, 1u);
    EXPECT_EQ(s.polls_answered, 1u);
    EXPECT_TRUE(s.has_values);
  }
  const std::vector<BusSnapshot> first = poll.Snapshots();
  // Each instrument of the bus has a serial number of its own.
  EXPECT_EQ(first[1].identity.serial_number, first[0].identity.serial_number + 1);
  EXPECT_EQ(first[3].identity.serial_number, first[0].identity.serial_number + 3);
  ASSERT_TRUE(poll.ParameterValue(2, BusParameter::kCh1Th1).has_value());

  simulator_.AddFault(test::SilenceOfTheFirst());
  BusSnapshot silent = poll.PollNext();
  EXPECT_EQ(silent.availability, BusAvailability::kOnline) << "one failed poll of two";
  EXPECT_EQ(silent.failed_in_row, 1u);
  EXPECT_EQ(silent.last_result, result::kNoAnswer);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(poll.PollNext().availability, BusAvailability::kOnline);
  silent = poll.PollNext();
  EXPECT_EQ(silent.availability, BusAvailability::kOffline);
  EXPECT_EQ(silent.polls_answered, 1u);
  EXPECT_TRUE(silent.has_values) << "the last values stay";

  simulator_.ClearFaults();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(poll.PollNext().availability, BusAvailability::kOnline);
  const BusSnapshot back = poll.PollNext();
  EXPECT_EQ(back.availability, BusAvailability::kOnline);
  EXPECT_EQ(back.failed_in_row, 0u);
  EXPECT_EQ(back.identity_reads, 2u) << "identity read again after the return";
  EXPECT_EQ(back.polls_answered, 2u);
  EXPECT_EQ(poll.Snapshots()[1].identity_reads, 1u) << "the others were not read again";

  // With the gateway's short waits a silent instrument holds its line up for
  // the configured time-out, not for the window's second per attempt.
  BusTiming short_waits = QuickTiming(2);
  short_waits.short_waits = true;
  short_waits.timeout_ms = 100;
  BusLinePoll gateway_poll(0, port_, 9600, {1}, short_waits);
  simulator_.AddFault(test::SilenceOfTheFirst());
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(gateway_poll.PollNext().last_result, result::kNoAnswer);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
}

TEST_F(BusLinePollTest, ValuesStayAsSentNotANumberAndBeyondTheDisplayLimits) {
  simulator_.PinChannelBits(1, 0x7F800001u);  // a signalling not-a-number
  simulator_.PinChannelValue(2, 25000.0f);    // above the page's display limit
  BusLinePoll poll(0, port_, 9600, {1}, QuickTiming(3));
  const BusSnapshot s = poll.PollNext();
  ASSERT_EQ(s.last_result, result::kOk);
  EXPECT_TRUE(std::isnan(s.channel[0].value));
  EXPECT_EQ(s.channel[0].status, 4) << "the page's status code of a not-a-number";
  EXPECT_EQ(s.channel[1].value, 25000.0f);

  simulator_.PinChannelBits(1, 0xFFC00000u);  // a quiet one
  simulator_.PinChannelValue(2, -5000.0f);    // below the display limit
  const BusSnapshot quiet = poll.PollNext();
  EXPECT_TRUE(std::isnan(quiet.channel[0].value));
  EXPECT_EQ(quiet.channel[1].value, -5000.0f);
}

TEST_F(BusLinePollTest, DeviceThatVanishesTakesEveryInstrumentOfflineAtOnce) {
  BusLinePoll poll(0, port_, 9600, {1, 2, 3, 4}, QuickTiming(3));
  Sweep(poll);
  simulator_.Stop();
  const BusSnapshot failed = poll.PollNext();
  EXPECT_NE(failed.last_result, result::kOk);
  EXPECT_FALSE(port_.IsOpen());
  for (const BusSnapshot& s : poll.Snapshots())
    EXPECT_EQ(s.availability, BusAvailability::kOffline) << "address " << s.address;

  // Every instrument reads its identity again once it answers.
  for (const BusSnapshot& s : poll.MarkAllOffline())
    EXPECT_EQ(s.availability, BusAvailability::kOffline);
}

// "R2:29" for a read of space 2 parameter 29, "W1:0" for a write.
std::string FramesOf(const sim::Simulator& simulator) {
  std::string out;
  for (const sim::ReceivedFrame& f : simulator.Frames()) {
    if (!f.fields.command || !f.fields.parameter) continue;
    out += (out.empty() ? "" : " ") + std::string(*f.fields.command == 38u ? "W" : "R") +
           std::to_string(f.fields.parameter->space) + ":" +
           std::to_string(f.fields.parameter->address);
  }
  return out;
}

TEST_F(BusLinePollTest, WriteSendsOnlyItsOwnExchangesAndIsRememberedOnce) {
  test::ScratchDir dir;
  BusLinePoll poll(0, port_, 9600, {1, 2, 3, 4}, QuickTiming(3));
  poll.SetWorkingDir(dir.Path(), "LINE1");
  Sweep(poll);
  // The parameter and its set point type are read, then written as the
  // window's write of changes does it: the type prepared to 0, the value,
  // the type back, each read back, then 47 and the restart. A hysteresis
  // also reads the range its check compares it with.
  const struct {
    BusParameter parameter;
    float value;
    std::uint32_t address;
    const char* frames;
  } writes[] = {
      {BusParameter::kCh1Th1, 42.5f, 2,
       "R2:29 R2:327 W2:327 R2:327 W2:29 R2:29 W2:327 R2:327 W2:0 W1:0"},
      {BusParameter::kCh2His1, 0.5f, 3,
       "R2:16 R2:41 R2:331 W2:331 R2:331 W2:41 R2:41 W2:331 R2:331 W2:0 W1:0"},
  };
  for (const auto& w : writes) {
    simulator_.ClearFrames();
    const BusWriteOutcome ok = poll.Write(w.address, w.parameter, w.value);
    EXPECT_EQ(ok.result, result::kOk) << ok.message;
    EXPECT_TRUE(ok.message.empty());
    EXPECT_EQ(FramesOf(simulator_), w.frames);
    for (const sim::ReceivedFrame& f : simulator_.Frames())
      ASSERT_EQ(f.fields.net_address, w.address) << f.raw;
    EXPECT_EQ(poll.ParameterValue(w.address, w.parameter), w.value);
  }
  EXPECT_EQ(simulator_.MemoryAt(2)->Float(29), 42.5f);
  EXPECT_NE(simulator_.MemoryAt(3)->Float(29), 42.5f) << "only the instrument asked";
  // The instrument that has just restarted is polled once its silence is
  // over: one request each, none lost to the silence.
  simulator_.ClearFrames();
  EXPECT_EQ(Sweep(poll)[2].last_result, result::kOk);
  EXPECT_EQ(simulator_.Frames().size(), 4u);
  // The value it now holds is answered without a frame that changes it.
  simulator_.ClearFrames();
  EXPECT_EQ(poll.Write(2, BusParameter::kCh1Th1, 42.5f).result, result::kOk);
  EXPECT_EQ(test::WriteFrameCount(simulator_), 0u);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"journal"});
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("journal"))) << "the entry closed";
}

TEST_F(BusLinePollTest, AWriteThatFailsMidwayIsPutBackOnceTheInstrumentTakesIt) {
  test::ScratchDir dir;
  BusLinePoll poll(0, port_, 9600, {1, 2}, QuickTiming(3));
  poll.SetWorkingDir(dir.Path(), "LINE1");
  Sweep(poll, 2);
  const std::uint8_t type = *simulator_.MemoryAt(1)->Byte(2, 327);
  const float held = *simulator_.MemoryAt(1)->Float(29);
  ASSERT_NE(type, 0);
  // The set point never reads back as written: its type stays prepared to 0
  // (the alarm off), and the put-back at once fails the same way.
  simulator_.AddFault({sim::FaultKind::kWrongValue,
                       {sim::FaultWhen::By::kParameter, 0, 2, 29, sim::Width::kDword, 0.0},
                       0});
  const BusWriteOutcome failed = poll.Write(1, BusParameter::kCh1Th1, 42.5f);
  EXPECT_EQ(failed.result, result::kReadBackMismatch);
  EXPECT_NE(failed.message.find("; в приборе сейчас: уставка 1 канала 1 выключена (тип 0)"),
            std::string::npos)
      << failed.message;
  EXPECT_EQ(poll.ParameterValue(1, BusParameter::kCh1Th1), held) << "what was last read";
  EXPECT_EQ(simulator_.MemoryAt(1)->Byte(2, 327), 0);
  EXPECT_TRUE(failed.changes.empty()) << "nothing went in as meant";
  BusSnapshot first = Sweep(poll, 2)[0];
  EXPECT_TRUE(first.unfinished_write);
  EXPECT_FALSE(std::filesystem::is_empty(dir.File("journal")));
  const auto tried = poll.TakeRepairs();  // at once, and after the answered poll
  ASSERT_EQ(tried.size(), 2u);
  EXPECT_EQ(tried[1].second.result, result::kReadBackMismatch);
  // Once the instrument stores what it is sent, the next answered poll puts
  // the old settings back, and the entry goes.
  simulator_.ClearFaults();
  first = Sweep(poll, 2)[0];
  EXPECT_FALSE(first.unfinished_write);
  EXPECT_EQ(simulator_.MemoryAt(1)->Byte(2, 327), type);
  EXPECT_EQ(simulator_.MemoryAt(1)->Float(29), held);
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("journal")));
  // The history hears the put-back with the value it undid.
  const auto repaired = poll.TakeRepairs();
  ASSERT_EQ(repaired.size(), 1u);
  EXPECT_EQ(repaired[0].first.address, 1u);
  EXPECT_EQ(repaired[0].second.changes,
            (std::vector<ParameterChange>{{"Канал 1: Величина I", "42.5000", Format84(held)}}));
}

TEST_F(BusLinePollTest, AWriteLeftHalfDoneByAKilledGatewayIsCompletedOnTheBench) {
  test::ScratchDir dir;
  // Channel 2's range as the editor shows its sensor's, so that the write
  // of changes finds only what the gateway's write left.
  ASSERT_TRUE(simulator_.SetFloat(16, 20.0f));
  const std::uint8_t type = *simulator_.MemoryAt(1)->Byte(2, 327);
  const float his = *simulator_.MemoryAt(1)->Float(30);
  {
    BusLinePoll poll(0, port_, 9600, {1}, QuickTiming(3));
    poll.SetWorkingDir(dir.Path(), "/dev/ttyUSB0");
    Sweep(poll, 1);
    simulator_.AddFault({sim::FaultKind::kWrongValue,
                         {sim::FaultWhen::By::kParameter, 0, 2, 29, sim::Width::kDword, 0.0},
                         0});
    EXPECT_EQ(poll.Write(1, BusParameter::kCh1Th1, 42.5f).result, result::kReadBackMismatch);
  }
  // The gateway is gone with the set point switched off; the bench's resume
  // writes that one set point and its type, nothing it did not read.
  ASSERT_EQ(simulator_.MemoryAt(1)->Byte(2, 327), 0);
  simulator_.ClearFaults();
  port_.Close();
  Session session(dir.Path());
  test::RecordingOperator op;
  op.default_answer = true;
  ASSERT_TRUE(session.StartWithoutWindow(op, simulator_.SlavePath()));
  DeviceSettings instrument;
  RepairPlan plan;
  ASSERT_EQ(session.FindRepair(RepairKind::kResume, session.settings, op, instrument, plan),
            result::kOk);
  ASSERT_EQ(plan.finding, RepairFinding::kReady) << plan.problem;
  ChangesWriteOutcome outcome;
  ASSERT_EQ(session.RepairWrite(plan, session.form, session.settings, op, outcome), result::kOk);
  EXPECT_EQ(outcome.written, (std::vector<WrittenParameter>{{0, ChannelField::kTh1, nullptr},
                                                            {0, ChannelField::kThType1, nullptr}}));
  EXPECT_EQ(simulator_.MemoryAt(1)->Float(29), 42.5f);
  EXPECT_EQ(simulator_.MemoryAt(1)->Byte(2, 327), type);
  EXPECT_EQ(simulator_.MemoryAt(1)->Float(30), his);
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("journal")));
}

TEST_F(BusLinePollTest, WriteThatTheChecksRefuseSendsNothingAndSaysWhy) {
  test::ScratchDir dir;
  BusLinePoll poll(0, port_, 9600, {1, 2}, QuickTiming(3));
  poll.SetWorkingDir(dir.Path(), "LINE1");
  Sweep(poll, 2);
  const auto writes = [&] { return test::WriteFrameCount(simulator_); };
  const std::size_t before = writes();
  const std::optional<float> his1 = poll.ParameterValue(1, BusParameter::kCh2His1);
  const std::optional<float> th2 = poll.ParameterValue(1, BusParameter::kCh1Th2);
  ASSERT_TRUE(his1 && th2);

  const BusWriteOutcome negative = poll.Write(1, BusParameter::kCh2His1, -1.0f);
  EXPECT_EQ(negative.result, result::kStoppedToCorrect);
  EXPECT_NE(negative.message.find("истерезис"), std::string::npos) << negative.message;
  const BusWriteOutcome nan = poll.Write(1, BusParameter::kCh1Th2, NAN);
  EXPECT_EQ(nan.result, result::kNotAFloat);
  EXPECT_FALSE(nan.message.empty());
  const BusWriteOutcome elsewhere = poll.Write(9, BusParameter::kCh1Th1, 1.0f);
  EXPECT_EQ(elsewhere.result, result::kParameterNotFound);
  EXPECT_NE(elsewhere.message.find("9"), std::string::npos);

  EXPECT_EQ(writes(), before) << "nothing written";
  EXPECT_EQ(poll.ParameterValue(1, BusParameter::kCh2His1), his1) << "what was last read";
  EXPECT_EQ(poll.ParameterValue(1, BusParameter::kCh1Th2), th2);
  EXPECT_EQ(simulator_.RestartCount(), 0u);
  EXPECT_TRUE(dir.Entries().empty()) << "no journal entry for a refused write";
}

}  // namespace
}  // namespace zrm
