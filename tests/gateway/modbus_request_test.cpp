// The Modbus requests the gateway answers: the register map, exception 0x0B
// for an instrument it cannot reach, the standard exceptions for bad
// requests, and writes only of a whole, allowed float.

#include "gateway/modbus_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "gateway/fake_bus.h"
#include "gateway/modbus_registers.h"

namespace zrm::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;

// A request to `unit` with transaction 0x1234.
// The frame is sized once and filled: growing a seven-byte vector by the
// PDU is what GCC 12 at -O2 misreads as a copy out of bounds.
Bytes Request(std::uint8_t unit, const Bytes& pdu) {
  const std::uint8_t header[] = {0x12, 0x34, 0, 0, 0, static_cast<std::uint8_t>(pdu.size() + 1),
                                 unit};
  Bytes adu(std::size(header) + pdu.size());
  std::copy(std::begin(header), std::end(header), adu.begin());
  std::copy(pdu.begin(), pdu.end(), adu.begin() + std::ssize(header));
  return adu;
}

Bytes Exception(std::uint8_t unit, std::uint8_t function, std::uint8_t code) {
  return Request(unit, {static_cast<std::uint8_t>(function | 0x80), code});
}

class ModbusRequestTest : public ::testing::Test {
 protected:
  ModbusRequestTest() {
    GatewayConfig config;
    config.timing.offline_after = 3;
    config.timing.timeout_ms = 100;
    config.timing.short_waits = true;  // as the configuration file gives it
    config.lines = {{{"/dev/a", 9600, {1, 2}}, 0, "LINE1"}, {{"/dev/b", 9600, {1}}, 10, "LINE2"}};
    config.modbus = ModbusConfig{};
    units_ = UnitsOf(config, *config.modbus);
    write_.allow = true;
    write_.parameters = {BusParameter::kCh1Th1, BusParameter::kCh2His2};
    bus_.Set(AnsweredSnapshot(0, 1));
    BusSnapshot offline = AnsweredSnapshot(0, 2);
    offline.availability = BusAvailability::kOffline;
    bus_.Set(offline);
    BusSnapshot stale = AnsweredSnapshot(1, 1);    // unit 11
    stale.last_answer -= std::chrono::seconds(2);  // 3 polls of 1 × 2 × about 150 ms
    bus_.Set(stale);
    bus_.SetParameter(0, 1, BusParameter::kCh1Th1, 250.5f);
    bus_.SetParameter(0, 1, BusParameter::kCh1His1, 2.0f);
  }

  ModbusAnswer Ask(const Bytes& request) {
    return AnswerRequest(request, units_, bus_, write_, std::chrono::steady_clock::now());
  }

  ModbusUnits units_;
  WriteConfig write_;
  FakeBus bus_;
};

TEST_F(ModbusRequestTest, InputRegistersFollowTheMap) {
  const ModbusAnswer a = Ask(Request(1, {0x04, 0, 0, 0, 15}));
  ASSERT_EQ(a.reply.size(), 9u + 30u);
  EXPECT_EQ(Bytes(a.reply.begin(), a.reply.begin() + 9),
            (Bytes{0x12, 0x34, 0, 0, 0, 33, 1, 0x04, 30}));
  auto reg = [&](int r) { return a.reply[9 + 2 * r] << 8 | a.reply[10 + 2 * r]; };
  EXPECT_EQ(FloatFromRegisters(reg(0), reg(1)), 491.0974f);
  EXPECT_EQ(FloatFromRegisters(reg(2), reg(3)), 0.7457f);
  EXPECT_EQ(reg(6), 0x02);  // ch1: set point 2
  EXPECT_EQ(reg(8), 0x01);  // relay 1
  EXPECT_EQ(reg(10), 0);    // answered just now
  EXPECT_EQ(reg(11), 4813);
  EXPECT_EQ(reg(12), 47);
  EXPECT_EQ(reg(13), 12345);
  EXPECT_EQ(reg(14), 1);
  // The last register alone, and one past the map.
  EXPECT_EQ(Ask(Request(1, {0x04, 0, 14, 0, 1})).reply, Request(1, {0x04, 2, 0, 1}));
  EXPECT_EQ(Ask(Request(1, {0x04, 0, 14, 0, 2})).reply, Exception(1, 0x04, 0x02));
  EXPECT_EQ(Ask(Request(1, {0x04, 0, 15, 0, 1})).reply, Exception(1, 0x04, 0x02));
}

TEST_F(ModbusRequestTest, HoldingRegistersGiveTheValuesLastRead) {
  const auto th1 = FloatRegisters(250.5f);
  const auto his1 = FloatRegisters(2.0f);
  EXPECT_EQ(Ask(Request(1, {0x03, 0, 100, 0, 4})).reply,
            Request(1, {0x03, 8, static_cast<std::uint8_t>(th1[0] >> 8),
                        static_cast<std::uint8_t>(th1[0]), static_cast<std::uint8_t>(th1[1] >> 8),
                        static_cast<std::uint8_t>(th1[1]), static_cast<std::uint8_t>(his1[0] >> 8),
                        static_cast<std::uint8_t>(his1[0]), static_cast<std::uint8_t>(his1[1] >> 8),
                        static_cast<std::uint8_t>(his1[1])}));
  // Half a float may be read: the low word of ch1_th1.
  EXPECT_EQ(Ask(Request(1, {0x03, 0, 101, 0, 1})).reply.size(), 11u);
  // A value never read: the instrument has not given it.
  EXPECT_EQ(Ask(Request(1, {0x03, 0, 104, 0, 2})).reply, Exception(1, 0x03, 0x0B));
  EXPECT_EQ(Ask(Request(1, {0x03, 0, 99, 0, 2})).reply, Exception(1, 0x03, 0x02));
  EXPECT_EQ(Ask(Request(1, {0x03, 0, 114, 0, 3})).reply, Exception(1, 0x03, 0x02));
  EXPECT_EQ(Ask(Request(1, {0x03, 0, 0, 0, 2})).reply, Exception(1, 0x03, 0x02));
}

TEST_F(ModbusRequestTest, UnreachableInstrumentsGetTargetFailedForEveryRequest) {
  for (const Bytes& pdu : {Bytes{0x04, 0, 0, 0, 1}, Bytes{0x03, 0, 100, 0, 2},
                           Bytes{0x10, 0, 100, 0, 2, 4, 0x43, 0x7A, 0, 0}, Bytes{0x2B, 0x0E}}) {
    EXPECT_EQ(Ask(Request(2, pdu)).reply, Exception(2, pdu[0], 0x0B)) << "offline";
    EXPECT_EQ(Ask(Request(11, pdu)).reply, Exception(11, pdu[0], 0x0B)) << "answer too old";
    EXPECT_EQ(Ask(Request(3, pdu)).reply, Exception(3, pdu[0], 0x0B)) << "unknown unit";
    EXPECT_EQ(Ask(Request(0, pdu)).reply, Exception(0, pdu[0], 0x0B)) << "unit 0";
  }
  EXPECT_TRUE(bus_.Writes().empty());
  // Unit 11 is line 2's address 1: served once its answer is fresh.
  bus_.Set(AnsweredSnapshot(1, 1));
  EXPECT_EQ(Ask(Request(11, {0x04, 0, 14, 0, 1})).reply, Request(11, {0x04, 2, 0, 1}));
}

TEST_F(ModbusRequestTest, BadRequestsGetTheStandardExceptions) {
  EXPECT_EQ(Ask(Request(1, {0x01, 0, 0, 0, 1})).reply, Exception(1, 0x01, 0x01));
  EXPECT_EQ(Ask(Request(1, {0x05, 0, 0, 0xFF, 0})).reply, Exception(1, 0x05, 0x01));
  EXPECT_EQ(Ask(Request(1, {0x84, 0, 0, 0, 1})).reply, Exception(1, 0x84, 0x01));
  EXPECT_EQ(Ask(Request(3, {0x84, 0, 0, 0, 1})).reply, Exception(3, 0x84, 0x01)) << "any unit";
  EXPECT_EQ(Ask(Request(1, {0x04, 0, 0, 0, 0})).reply, Exception(1, 0x04, 0x03));
  EXPECT_EQ(Ask(Request(1, {0x04, 0, 0, 0, 126})).reply, Exception(1, 0x04, 0x03));
  EXPECT_EQ(Ask(Request(1, {0x04, 0, 0, 0})).reply, Exception(1, 0x04, 0x03));
  EXPECT_EQ(Ask(Request(1, {0x04, 0, 0, 0, 1, 9})).reply, Exception(1, 0x04, 0x03));
  EXPECT_EQ(Ask(Request(1, {0x04, 0xFF, 0xFF, 0, 125})).reply, Exception(1, 0x04, 0x02));
  // A request without a function code gets nothing: the connection goes.
  const ModbusAnswer none = Ask({0x12, 0x34, 0, 0, 0, 1, 1});
  EXPECT_TRUE(none.reply.empty());
  EXPECT_FALSE(none.write);
}

TEST_F(ModbusRequestTest, OnlyWholeAllowedFloatsAreWritten) {
  // ch1_th1 = 250.0 (0x437A0000) in one request: queued, the reply waits.
  const Bytes write = Request(1, {0x10, 0, 100, 0, 2, 4, 0x43, 0x7A, 0, 0});
  const ModbusAnswer a = Ask(write);
  EXPECT_TRUE(a.reply.empty());
  ASSERT_TRUE(a.write);
  EXPECT_EQ(a.write->parameter, BusParameter::kCh1Th1);
  EXPECT_EQ(a.write->value, 250.0f);
  EXPECT_EQ(a.write->address, 1u);
  EXPECT_EQ(WriteReply(write, {}), Request(1, {0x10, 0, 100, 0, 2}));
  EXPECT_EQ(WriteReply(write, {result::kNoAnswer, "нет ответа"}), Exception(1, 0x10, 0x04));
  EXPECT_EQ(WriteReply(write, {result::kReadBackMismatch, "?"}), Exception(1, 0x10, 0x04));
  EXPECT_EQ(WriteReply(write, {result::kReplyNotMatched, "?", true}), Exception(1, 0x10, 0x06));
  EXPECT_EQ(WriteReply(write, {result::kOperandTooBig, "?"}), Exception(1, 0x10, 0x04));
  for (ExchangeResult refused : {result::kStoppedToCorrect, result::kStoppedToClarify,
                                 result::kNotAFloat, result::kParameterNotFound})
    EXPECT_EQ(WriteReply(write, {refused, "вне диапазона"}), Exception(1, 0x10, 0x03));

  struct Refused {
    Bytes pdu;
    std::uint8_t code;
    bool logged;  // a refusal the log tells
  };
  const Refused refused[] = {
      {{0x06, 0, 100, 0x43, 0x7A}, 0x03, true},                 // half a float
      {{0x06, 0, 50, 0, 1}, 0x02, false},                       // no register
      {{0x10, 0, 101, 0, 2, 4, 0, 0, 0x43, 0x7A}, 0x03, true},  // straddles two
      {{0x10, 0, 100, 0, 1, 2, 0x43, 0x7A}, 0x03, true},        // the high word alone
      {{0x10, 0, 100, 0, 4, 8, 0x43, 0x7A, 0, 0, 0x40, 0, 0, 0}, 0x03, true},  // two at once
      {{0x10, 0, 102, 0, 2, 4, 0x40, 0, 0, 0}, 0x03, true},            // ch1_his1 not listed
      {{0x10, 0, 114, 0, 4, 8, 0, 0, 0, 0, 0, 0, 0, 0}, 0x02, false},  // past the map
      {{0x10, 0, 100, 0, 2, 3, 0x43, 0x7A, 0}, 0x03, false},           // byte count wrong
      {{0x10, 0, 100, 0, 2, 4, 0x43, 0x7A, 0}, 0x03, false},           // data short
      {{0x10, 0, 100, 0, 0, 0}, 0x03, false},                          // nothing
  };
  for (const Refused& r : refused) {
    const ModbusAnswer answer = Ask(Request(1, r.pdu));
    EXPECT_EQ(answer.reply, Exception(1, r.pdu[0], r.code)) << int(r.pdu[2]);
    EXPECT_FALSE(answer.write);
    EXPECT_EQ(!answer.refusal.empty(), r.logged) << int(r.pdu[2]);
  }
  // Writes off: even a listed parameter is refused.
  write_.allow = false;
  const ModbusAnswer off = Ask(write);
  EXPECT_EQ(off.reply, Exception(1, 0x10, 0x03));
  EXPECT_NE(off.refusal.find("Allow=0"), std::string::npos);
}

TEST(ModbusFraming, HeaderGivesTheLengthOrRefusesTheConnection) {
  EXPECT_EQ(RequestLength(Bytes{0x12, 0x34, 0, 0, 0}), 0u);
  EXPECT_EQ(RequestLength(Bytes{0x12, 0x34, 0, 0, 0, 6}), 12u);
  EXPECT_EQ(RequestLength(Bytes{0x12, 0x34, 0, 0, 0, 254, 1}), 260u);
  EXPECT_FALSE(RequestLength(Bytes{0x12, 0x34, 0, 0, 0, 255}));
  EXPECT_FALSE(RequestLength(Bytes{0x12, 0x34, 0, 0, 0, 1}));
  EXPECT_FALSE(RequestLength(Bytes{0x12, 0x34, 0, 1, 0, 6}));  // not Modbus's protocol id
  EXPECT_FALSE(RequestLength(Bytes{'G', 'E', 'T', ' ', '/', ' '}));
}

TEST(ModbusRegisters, AgeSaturatesAndStalenessFollowsTheTiming) {
  BusSnapshot s = AnsweredSnapshot(0, 1);
  const auto now = s.last_answer + std::chrono::hours(20);
  EXPECT_EQ(InputRegisters(s, now)[10], 65535);
  EXPECT_EQ(InputRegisters(s, s.last_answer + std::chrono::milliseconds(2999))[10], 2);
  BusTiming timing;  // 3 × 2 × 1000 ms per instrument
  EXPECT_EQ(StaleAfter(timing, 9600, 4), milliseconds(24000));
  timing.timeout_ms = 10;  // the window's floor of 1000 ms, and the gateway's wire floor
  EXPECT_EQ(StaleAfter(timing, 9600, 4), milliseconds(24000));
  timing.short_waits = true;
  const auto wait = milliseconds(BusReplyWaitMs(timing, 9600));
  EXPECT_GT(wait, milliseconds(100));  // a status reply alone lasts about 50 ms at 9600
  EXPECT_LT(wait, milliseconds(200));
  EXPECT_EQ(StaleAfter(timing, 9600, 4), 3 * 4 * 2 * wait);
  timing.poll_ms = 60000;
  EXPECT_EQ(StaleAfter(timing, 9600, 4), milliseconds(180000));
  EXPECT_TRUE(Servable(s, s.last_answer + milliseconds(100), milliseconds(100)));
  EXPECT_FALSE(Servable(s, s.last_answer + milliseconds(101), milliseconds(100)));
  s.availability = BusAvailability::kUnknown;
  EXPECT_FALSE(Servable(s, s.last_answer, milliseconds(100)));
}

}  // namespace
}  // namespace zrm::test
