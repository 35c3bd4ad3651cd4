// The simulator over a real pseudo-terminal: cooked slave by default, the
// answers and the frame log, refusals, silence for other addresses, line
// timing, restart silence and a clean stop.

#include <gtest/gtest.h>

#include <termios.h>

#include <thread>

#include "lib/crc16.h"
#include "lib/default_instrument.h"
#include "lib/simulator.h"
#include "sim/raw_client.h"

namespace zrm::sim {
namespace {

using namespace std::chrono_literals;
using test::RawClient;
using test::RequestFrame;

std::unique_ptr<Simulator> Started(SimulatorOptions options = {}) {
  auto simulator = std::make_unique<Simulator>(std::move(options));
  std::string error;
  EXPECT_TRUE(simulator->Start(&error)) << error;
  return simulator;
}

TEST(SimulatorLine, SlaveStaysCookedUntilTheClientConfiguresIt) {
  auto simulator = Started();
  RawClient careless(simulator->SlavePath(), /*raw=*/false);
  ASSERT_TRUE(careless.IsOpen());
  termios settings{};
  ASSERT_EQ(tcgetattr(careless.Fd(), &settings), 0);
  EXPECT_NE(settings.c_lflag & ICANON, 0u);
  EXPECT_NE(settings.c_iflag & ICRNL, 0u);
  // The reply's CR turns into a line feed: a client that forgot raw mode
  // never sees a complete reply.
  const std::string reply = careless.Exchange(RequestFrame(":1;37;00000B;"), 300ms);
  EXPECT_EQ(reply.find('\r'), std::string::npos) << reply;
}

TEST(SimulatorLine, AnswersAndRecordsEveryFrame) {
  auto simulator = Started();
  RawClient client(simulator->SlavePath());
  const std::string request = RequestFrame(":1;37;00000B;");
  EXPECT_EQ(client.Exchange(request), "!1;39;" + std::to_string(Crc16Modbus("1;39;")) + "\r");
  const std::vector<ReceivedFrame> frames = simulator->Frames();
  ASSERT_EQ(frames.size(), 1u);
  const ReceivedFrame& frame = frames[0];
  EXPECT_EQ(frame.number, 1u);
  EXPECT_EQ(frame.raw, request);
  EXPECT_EQ(frame.checksum, ChecksumVerdict::kGood);
  EXPECT_EQ(frame.fields.net_address, 1u);
  EXPECT_EQ(frame.fields.command, 37u);
  EXPECT_EQ(frame.fields.parameter, ByteParameter(2, 11));
  EXPECT_EQ(frame.reply, "!1;39;" + std::to_string(Crc16Modbus("1;39;")) + "\r");
  EXPECT_LE(frame.first_byte, frame.time);
}

TEST(SimulatorLine, RefusalsTravelAsDollarCodes) {
  auto simulator = Started();
  RawClient client(simulator->SlavePath());
  EXPECT_EQ(client.Exchange(std::string(4, '\xFF') + ":1;37;00E002;17249\r"), "$000D\r");
  EXPECT_EQ(client.Exchange(RequestFrame(":1;38;00013B;0009;")), "$000B\r");
  EXPECT_EQ(client.Exchange(RequestFrame(":1;37;000005;")), "$0003\r");
  EXPECT_EQ(client.Exchange(RequestFrame(":1;38;00013B;09;")), "$0000\r");
  EXPECT_EQ(simulator->Byte(2, 315), 9);
  const auto frames = simulator->Frames();
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames[0].checksum, ChecksumVerdict::kBad);
  EXPECT_EQ(frames[1].fields.data, "0009");
}

TEST(SimulatorLine, OtherAddressesGetNoReplyButAreRecorded) {
  SimulatorOptions options;
  options.address = 5;
  auto simulator = Started(options);
  RawClient client(simulator->SlavePath());
  EXPECT_EQ(client.Exchange(RequestFrame(":1;37;00000B;"), 300ms), "");
  EXPECT_EQ(client.Exchange(RequestFrame(":5;37;00000B;")).substr(0, 6), "!5;39;");
  const auto frames = simulator->Frames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].reply, "");
  EXPECT_EQ(frames[0].fields.net_address, 1u);
}

TEST(SimulatorLine, ABusOfInstrumentsEachAnswersWithItsOwnMemory) {
  SimulatorOptions options;
  options.address = 3;
  options.more_addresses = {7, 8};
  auto simulator = Started(options);
  RawClient client(simulator->SlavePath());
  // serial_lo (space 2, byte 11): 0x39 on the first, one more on each further one.
  EXPECT_EQ(client.Exchange(RequestFrame(":3;37;00000B;")).substr(0, 6), "!3;39;");
  EXPECT_EQ(client.Exchange(RequestFrame(":7;37;00000B;")).substr(0, 6), "!7;3A;");
  EXPECT_EQ(client.Exchange(RequestFrame(":8;37;00000B;")).substr(0, 6), "!8;3B;");
  EXPECT_EQ(client.Exchange(RequestFrame(":4;37;00000B;"), 200ms), "");
  // A write reaches only the instrument addressed.
  EXPECT_EQ(client.Exchange(RequestFrame(":7;38;00013B;09;")), "$0000\r");
  EXPECT_EQ(simulator->MemoryAt(7)->Byte(2, 315), 9);
  EXPECT_NE(simulator->MemoryAt(8)->Byte(2, 315), 9);
  EXPECT_NE(simulator->Byte(2, 315), 9);
  EXPECT_FALSE(simulator->MemoryAt(4).has_value());
  EXPECT_EQ(simulator->Frames()[1].fields.net_address, 7u);
}

TEST(SimulatorLine, SerialNumbersFromTheOneGivenAndFaultsOnTheInstrumentNamed) {
  SimulatorOptions options;
  options.address = 1;
  options.more_addresses = {2, 3};
  options.serial = 0x1234;
  // The third has a memory of its own; its serial number still follows.
  ParameterMemory third = DefaultInstrumentMemory();
  third.SetValue({2, Width::kByte, 316}, 77);
  options.memory_at[3] = third;
  Fault silent;
  std::string error;
  ASSERT_TRUE(ParseFault("noreply@100%/2", silent, error)) << error;
  options.faults = {silent};
  auto simulator = Started(options);
  RawClient client(simulator->SlavePath());
  // serial_lo (byte 11) and serial_hi (byte 12): 0x1234, 0x1235 and 0x1236.
  EXPECT_EQ(client.Exchange(RequestFrame(":1;37;00000B;")).substr(0, 6), "!1;34;");
  EXPECT_EQ(client.Exchange(RequestFrame(":1;37;00000C;")).substr(0, 6), "!1;12;");
  EXPECT_EQ(client.Exchange(RequestFrame(":3;37;00000B;")).substr(0, 6), "!3;36;");
  EXPECT_EQ(simulator->MemoryAt(3)->Byte(2, 316), 77);
  EXPECT_NE(simulator->MemoryAt(1)->Byte(2, 316), 77);
  EXPECT_EQ(client.Exchange(RequestFrame(":2;37;00000B;"), 200ms), "") << "its fault";
  // A fault added for one instrument acts on it alone.
  Fault wrong{FaultKind::kWrongValue, {FaultWhen::By::kParameter, 0, 2, 315, {}, 0.0}, 0, 3};
  simulator->AddFault(wrong);
  EXPECT_EQ(client.Exchange(RequestFrame(":1;38;00013B;09;")), "$0000\r");
  EXPECT_EQ(client.Exchange(RequestFrame(":3;38;00013B;09;")), "$0000\r");
  EXPECT_EQ(simulator->MemoryAt(1)->Byte(2, 315), 9);
  EXPECT_EQ(simulator->MemoryAt(3)->Byte(2, 315), 8);
}

TEST(SimulatorLine, AClientAtAnotherSpeedHearsGarbageOrNothing) {
  for (const WrongSpeedAnswer answer : {WrongSpeedAnswer::kGarbage, WrongSpeedAnswer::kSilent}) {
    SimulatorOptions options;
    options.baud = 19200;
    options.check_speed = true;
    options.wrong_speed = answer;
    auto simulator = Started(options);
    RawClient client(simulator->SlavePath());
    termios settings{};
    ASSERT_EQ(tcgetattr(client.Fd(), &settings), 0);
    cfsetspeed(&settings, B9600);
    ASSERT_EQ(tcsetattr(client.Fd(), TCSANOW, &settings), 0);
    const std::string garbled = client.Exchange(RequestFrame(":1;37;00000B;"), 300ms);
    if (answer == WrongSpeedAnswer::kSilent) {
      EXPECT_EQ(garbled, "");
    } else {
      ASSERT_FALSE(garbled.empty());
      EXPECT_EQ(garbled.find_first_of("\r!$\xFF"), std::string::npos);
    }
    cfsetspeed(&settings, B19200);
    ASSERT_EQ(tcsetattr(client.Fd(), TCSANOW, &settings), 0);
    EXPECT_EQ(client.Exchange(RequestFrame(":1;37;00000B;")).substr(0, 6), "!1;39;");
  }
}

TEST(SimulatorLine, LineTimingNeverDeliversSoonerThanTheWireTime) {
  SimulatorOptions options;
  options.line_timing = true;
  options.baud = 9600;
  options.turnaround = 5ms;
  auto simulator = Started(options);
  RawClient client(simulator->SlavePath());
  const auto byte_time = std::chrono::duration<double>(10.0 / 9600);
  for (const char* text : {":1;37;00E002;", ":1;37;00000B;", ":1;38;00800F;42C80000;"}) {
    const std::string request = RequestFrame(text);
    const auto start = Clock::now();
    const std::string reply = client.Exchange(request);
    const auto took = Clock::now() - start;
    ASSERT_FALSE(reply.empty());
    ASSERT_EQ(reply.back(), '\r');
    const auto wire = byte_time * static_cast<double>(request.size() + reply.size()) + 5ms;
    EXPECT_GE(took, wire) << text;
  }
}

TEST(SimulatorLine, RestartAnswersThenIsSilentAndKeepsItsMemory) {
  SimulatorOptions options;
  options.restart_time = 300ms;
  auto simulator = Started(options);
  RawClient client(simulator->SlavePath());
  EXPECT_EQ(client.Exchange(RequestFrame(":1;38;00013B;09;")), "$0000\r");
  EXPECT_EQ(client.Exchange(RequestFrame(":1;38;002000;01;")), "$0000\r");
  const auto restarted = Clock::now();
  EXPECT_EQ(client.Exchange(RequestFrame(":1;37;00013B;"), 150ms), "");
  EXPECT_TRUE(simulator->Restarting());
  std::this_thread::sleep_until(restarted + 320ms);
  EXPECT_EQ(client.Exchange(RequestFrame(":1;37;00013B;")).substr(0, 6), "!1;09;");
  EXPECT_EQ(simulator->RestartCount(), 1u);
}

TEST(SimulatorLine, ScriptedStatusBlockReachesTheWire) {
  auto simulator = Started();
  simulator->SetInputByte(0x11);
  simulator->PinChannelBits(1, 0x7F800001u);
  simulator->SetSensorBreak(2, true);
  RawClient client(simulator->SlavePath());
  const std::string reply = client.Exchange(RequestFrame(":1;37;00E002;"));
  ASSERT_GE(reply.size(), 36u);
  EXPECT_EQ(reply.substr(9, 2), "11");        // input byte
  EXPECT_EQ(reply.substr(11, 8), "7F800001");  // channel 1 value bits
  EXPECT_EQ(reply.substr(31, 4), "0904");      // channel 2: break code and flag
}

TEST(SimulatorLine, StopsCleanlyWithAClientAttached) {
  auto simulator = Started();
  EXPECT_FALSE(simulator->Start());
  RawClient client(simulator->SlavePath());
  client.Send(std::string(4, '\xFF') + ":1;37;");  // half a request
  simulator->Stop();
  simulator->Stop();
  EXPECT_FALSE(simulator->Serving());
  bool hung_up = false;
  client.Receive(300ms, &hung_up);
  EXPECT_TRUE(hung_up);
}

TEST(SimulatorLine, ClientMayCloseAndReopen) {
  auto simulator = Started();
  {
    RawClient first(simulator->SlavePath());
    EXPECT_EQ(first.Exchange(RequestFrame(":1;37;00000C;")).substr(0, 6), "!1;30;");
  }
  std::this_thread::sleep_for(50ms);
  RawClient second(simulator->SlavePath());
  EXPECT_EQ(second.Exchange(RequestFrame(":1;37;00000C;")).substr(0, 6), "!1;30;");
}

}  // namespace
}  // namespace zrm::sim
