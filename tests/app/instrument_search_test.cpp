// The instrument search against a simulated RS-485 bus through the real
// serial port: what it finds, what it sends, and how it ends.

#include "app/instrument_search.h"

#include <gtest/gtest.h>

#include <string>

#include "app/found_instrument_text.h"
#include "app/instrument_probe.h"
#include "lib/bus_options.h"
#include "platform/serial_port.h"
#include "support/fake_line.h"
#include "support/recording_operator.h"

namespace zrm {
namespace {

using test::RecordingOperator;

// Three instruments at 3, 7 and 12, working at 19200 on a timed line.
sim::SimulatorOptions BusAt19200() { return sim::BusOptions({3, 7, 12}, 19200); }

class InstrumentSearchTest : public ::testing::Test {
 protected:
  void Start(sim::SimulatorOptions options) {
    simulator_ = std::make_unique<sim::Simulator>(std::move(options));
    std::string error;
    ASSERT_TRUE(simulator_->Start(&error)) << error;
    ASSERT_TRUE(port_.Open(simulator_->SlavePath(), 9600, error)) << error;
  }

  SearchOutcome Search(const SearchPlan& plan) {
    SearchLine line{port_, [this](std::int32_t speed, std::string& reason) {
                      return port_.SetSpeed(speed, reason);
                    }};
    return SearchInstruments(line, plan, op_);
  }

  std::unique_ptr<sim::Simulator> simulator_;
  SerialPort port_;
  RecordingOperator op_;
};

TEST_F(InstrumentSearchTest, FindsExactlyTheThreeInstrumentsOfTheBusAndOnlyReads) {
  Start(BusAt19200());
  SearchPlan plan;
  plan.speeds = {9600, 19200};
  plan.last_address = 16;
  const SearchOutcome outcome = Search(plan);

  EXPECT_EQ(outcome.end, SearchEnd::kCompleted);
  ASSERT_EQ(outcome.found.size(), 3u);
  const std::uint32_t addresses[] = {3, 7, 12};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(outcome.found[i].address, addresses[i]);
    EXPECT_EQ(outcome.found[i].speed, 19200);
    EXPECT_EQ(FoundInstrumentLine(outcome.found[i]),
              std::to_string(addresses[i]) + "\t19200\t1\t4813 Н Двухканальный\t047-1234" +
                  std::to_string(5 + i) + "\t1.1.10\t17.3.2021");
  }
  // At 9600 the same three answered with garbage, explained by what 19200 found.
  EXPECT_TRUE(outcome.garbled.empty());
  // Reads only: every frame is a read (command 37), none a write (38).
  for (const sim::ReceivedFrame& frame : simulator_->Frames()) {
    EXPECT_NE(frame.raw.find(";37;"), std::string::npos) << frame.raw;
    EXPECT_EQ(frame.raw.find(";38;"), std::string::npos) << frame.raw;
  }
  // The panel named speed and address of the last probe.
  EXPECT_EQ(op_.lines[1], "Скорость: 19200");
  EXPECT_EQ(op_.lines[2], "Адрес: 16 (1-16)");
  EXPECT_FALSE(op_.progress_visible);
}

TEST_F(InstrumentSearchTest, AnInstrumentAtAnotherSpeedIsReportedAsGarbage) {
  Start(BusAt19200());
  SearchPlan plan;
  plan.speeds = {9600, 38400};
  plan.last_address = 7;
  const SearchOutcome outcome = Search(plan);
  EXPECT_TRUE(outcome.found.empty());
  ASSERT_EQ(outcome.garbled.size(), 4u);
  EXPECT_EQ(outcome.garbled[1].address, 7u);
  EXPECT_EQ(outcome.garbled[1].speed, 9600);
  EXPECT_EQ(GarbledAnswerLine(outcome.garbled[3]),
            "Что-то отвечает на другой скорости: Адрес: 7 (на скорости 38400 ответ не читается)");
}

TEST_F(InstrumentSearchTest, EscStopsBeforeTheNextProbeKeepingWhatWasFound) {
  Start(BusAt19200());
  op_.esc = {false, false, false, false, true};  // ESC during the probe of address 4
  SearchPlan plan;
  plan.speeds = {19200};
  const SearchOutcome outcome = Search(plan);
  EXPECT_EQ(outcome.end, SearchEnd::kStopped);
  ASSERT_EQ(outcome.found.size(), 1u);
  EXPECT_EQ(outcome.found[0].address, 3u);
  EXPECT_EQ(simulator_->Frames().back().fields.net_address, 4u);
  EXPECT_EQ(SearchEndText(outcome), "Поиск остановлен пользователем.");
}

TEST_F(InstrumentSearchTest, AVanishedDeviceEndsTheSearchKeepingWhatWasFound) {
  sim::SimulatorOptions options = BusAt19200();
  // Addresses 1 and 2 take a probe each, address 3 a probe, its confirmation
  // and seven identity reads; the line goes at the probe of address 4.
  options.faults.push_back(sim::Fault{});
  std::string error;
  ASSERT_TRUE(sim::ParseFault("vanish@12", options.faults.back(), error)) << error;
  Start(options);
  SearchPlan plan;
  plan.speeds = {19200, 57600};
  const SearchOutcome outcome = Search(plan);
  EXPECT_EQ(outcome.end, SearchEnd::kVanished);
  ASSERT_EQ(outcome.found.size(), 1u);
  EXPECT_EQ(outcome.found[0].address, 3u);
  EXPECT_NE(SearchEndText(outcome).find("Устройство пропало"), std::string::npos);
}

TEST(InstrumentProbeTest, OnlyTheAddressAskedAnswersWithinTheWireTimeOfItsFrames) {
  // Request (23 bytes for address 1) and the longest byte reply (14), 10 bits
  // a byte at 4800 bit/s, then the margin.
  EXPECT_EQ(ProbeWindow(4800, 1, 0), std::chrono::microseconds(77084));
  EXPECT_EQ(ProbeWindow(4800, 1, 50), std::chrono::microseconds(127084));

  test::FakeLine line;
  line.respond = [](const std::string&) { return test::ReadReply("0A", 12); };
  EXPECT_EQ(Probe(line, 1, std::chrono::milliseconds(50)).answer, ProbeAnswer::kGarbled);
  line.respond = [](const std::string&) { return test::ReadReply("0A", 12) + test::ReadReply("0B"); };
  const ProbeResult probe = Probe(line, 1, std::chrono::milliseconds(50));
  EXPECT_EQ(probe.answer, ProbeAnswer::kReply);
  EXPECT_EQ(probe.firmware_version, 0x0B);

  // Address 1 at 9600, searched as the line answers each time.
  SearchLine search{line, [](std::int32_t, std::string&) { return true; }};
  SearchPlan plan;
  plan.speeds = {9600};
  plan.last_address = 1;
  RecordingOperator op;

  // Garbage heard once is probed again at the same speed: an instrument
  // whose reply was disturbed once is found, not reported at another speed.
  int heard = 0;
  line.respond = [&heard](const std::string&) {
    return ++heard == 1 ? test::ReadReply("0A", 12) : test::ReadReply("0A");
  };
  const SearchOutcome recovered = SearchInstruments(search, plan, op);
  ASSERT_EQ(recovered.found.size(), 1u);
  EXPECT_EQ(recovered.found[0].address, 1u);
  EXPECT_TRUE(recovered.garbled.empty());

  // Two probes of one address that disagree are garbage, not an instrument.
  int probes = 0;
  line.respond = [&probes](const std::string&) {
    return test::ReadReply(++probes % 2 ? "0A" : "0B");
  };
  const SearchOutcome outcome = SearchInstruments(search, plan, op);
  EXPECT_TRUE(outcome.found.empty());
  ASSERT_EQ(outcome.garbled.size(), 1u);
  EXPECT_EQ(outcome.garbled[0].address, 1u);
}

TEST(SearchPlanTest, RefusesBadSpeedsAndRangesAndKeepsTheDefaults) {
  for (const char* bad : {"", "abc", "9600,", "1200", "9600,9600", "19200;9600", "-9600"}) {
    SearchPlan plan;
    std::string error;
    EXPECT_FALSE(ParseSpeedList(bad, plan.speeds, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
    EXPECT_EQ(plan.speeds.size(), 5u) << bad;
  }
  for (const char* bad : {"", "abc", "0-300", "0-5", "1-256", "9-3", "1-", "-5", "1-2-3"}) {
    SearchPlan plan;
    std::string error;
    EXPECT_FALSE(ParseAddressRange(bad, plan.first_address, plan.last_address, error)) << bad;
    EXPECT_EQ(plan.last_address, 32u) << bad;
  }
  SearchPlan plan;
  std::string error;
  ASSERT_TRUE(ParseSpeedList("57600,4800", plan.speeds, error)) << error;
  EXPECT_EQ(plan.speeds, (std::vector<std::int32_t>{57600, 4800}));
  ASSERT_TRUE(ParseAddressRange("1-255", plan.first_address, plan.last_address, error));
  EXPECT_EQ(plan.ProbeCount(), 2u * 255u);
  ASSERT_TRUE(ParseAddressRange("7", plan.first_address, plan.last_address, error));
  EXPECT_EQ(plan.ProbeCount(), 2u);
}

}  // namespace
}  // namespace zrm
