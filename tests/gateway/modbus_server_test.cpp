// The Modbus TCP server with real clients: libmodbus's and Debian's mbpoll,
// several at once, one of them slow, a write whose reply waits for its line
// while the others are served, and a listener that cannot listen.

#include "gateway/modbus_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <modbus.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <future>

#include "support/child_program.h"
#include "gateway/fake_bus.h"
#include "gateway/modbus_registers.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

using namespace std::chrono_literals;

// A libmodbus client connected to the server.
class Client {
 public:
  Client(int port, int unit) : context_(modbus_new_tcp("127.0.0.1", port)) {
    modbus_set_slave(context_, unit);
    modbus_set_response_timeout(context_, 5, 0);
    connected_ = modbus_connect(context_) == 0;
  }
  ~Client() {
    modbus_close(context_);
    modbus_free(context_);
  }
  bool Connected() const { return connected_; }
  modbus_t* operator->() const { return context_; }
  operator modbus_t*() const { return context_; }

 private:
  modbus_t* context_;
  bool connected_ = false;
};

// A plain TCP connection to the server on 127.0.0.1, its reads waiting at
// most 5 s; -1 when it cannot connect.
int ConnectTo(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  const timeval wait{5, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  return fd;
}

class ModbusServerTest : public ::testing::Test {
 protected:
  ModbusServerTest() {
    config_.modbus = ModbusConfig{"127.0.0.1", static_cast<std::uint16_t>(FreePort())};
    config_.lines = {{{"/dev/a", 9600, {1, 2}}, 0, "LINE1"}, {{"/dev/b", 9600, {1}}, 10, "LINE2"}};
    config_.write = {true, {BusParameter::kCh1Th1}};
    bus_.Set(AnsweredSnapshot(0, 1));
    bus_.Set(AnsweredSnapshot(1, 1));
    bus_.SetParameter(0, 1, BusParameter::kCh1Th1, 250.5f);
  }

  ScratchDir dir_;
  GatewayLog log_{stderr, true};
  GatewayConfig config_;
  FakeBus bus_;
};

TEST_F(ModbusServerTest, ServesLibmodbusAndMbpoll) {
  ModbusServer server(config_, *config_.modbus, bus_, log_);
  std::string error;
  ASSERT_TRUE(server.Listen(error)) << error;
  server.Start();
  Client one(server.Port(), 11);
  ASSERT_TRUE(one.Connected());
  std::uint16_t registers[15] = {};
  ASSERT_EQ(modbus_read_input_registers(one, 0, 15, registers), 15);
  EXPECT_EQ(FloatFromRegisters(registers[0], registers[1]), 491.0974f);
  EXPECT_EQ(registers[11], 4813);
  EXPECT_EQ(registers[14], 1);
  // Unit 2 is offline, unit 5 unknown: "gateway target device failed to respond".
  modbus_set_slave(one, 2);
  EXPECT_EQ(modbus_read_input_registers(one, 0, 1, registers), -1);
  EXPECT_EQ(errno, EMBXGTAR);
  modbus_set_slave(one, 5);
  EXPECT_EQ(modbus_read_registers(one, 100, 2, registers), -1);
  EXPECT_EQ(errno, EMBXGTAR);
  modbus_set_slave(one, 1);
  EXPECT_EQ(modbus_read_input_registers(one, 15, 1, registers), -1);
  EXPECT_EQ(errno, EMBXILADD);
  // The connection goes on after exceptions.
  ASSERT_EQ(modbus_read_registers(one, 100, 2, registers), 2);
  EXPECT_EQ(FloatFromRegisters(registers[0], registers[1]), 250.5f);

  // mbpoll counts registers from 1 unless told -0, and takes floats' words
  // low first unless told -B.
  const ProgramOutput mbpoll =
      RunProgram({"mbpoll", "-m", "tcp", "-p", std::to_string(server.Port()), "-a", "1", "-t",
                  "3:float", "-B", "-0", "-r", "0", "-c", "2", "-1", "127.0.0.1"},
                 dir_.Path(), 10s);
  EXPECT_EQ(mbpoll.status, 0) << mbpoll.out << mbpoll.err;
  EXPECT_NE(mbpoll.out.find("[0]: \t491.097"), std::string::npos) << mbpoll.out;
  EXPECT_NE(mbpoll.out.find("[2]: \t0.7457"), std::string::npos) << mbpoll.out;
}

TEST_F(ModbusServerTest, ASlowOrSilentClientHoldsNoOther) {
  ModbusServer server(config_, *config_.modbus, bus_, log_);
  std::string error;
  ASSERT_TRUE(server.Listen(error)) << error;
  server.Start();
  // Half a header, then silence.
  const int slow = ConnectTo(server.Port());
  ASSERT_GE(slow, 0);
  ASSERT_EQ(::send(slow, "\x00\x01\x00", 3, 0), 3);
  // A write that waits for its line.
  Client writer(server.Port(), 1);
  ASSERT_TRUE(writer.Connected());
  const auto words = FloatRegisters(260.0f);
  const std::uint16_t value[2] = {words[0], words[1]};
  auto written =
      std::async(std::launch::async, [&] { return modbus_write_registers(writer, 100, 2, value); });
  ASSERT_TRUE(WaitUntil([&] { return bus_.Writes().size() == 1; }, 5s));
  // Meanwhile another client is served at once.
  Client reader(server.Port(), 1);
  std::uint16_t registers[2];
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(modbus_read_input_registers(reader, 14, 1, registers), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_EQ(written.wait_for(0s), std::future_status::timeout);
  // The line ends the write: its reply goes out.
  const FakeBus::Write w = bus_.Writes()[0];
  EXPECT_EQ(w.value, 260.0f);
  EXPECT_EQ(w.parameter, BusParameter::kCh1Th1);
  w.done({});
  EXPECT_EQ(written.get(), 2);
  // A failed write on the instrument: 0x04.
  bus_.AnswerWritesWith(BusWriteOutcome{result::kNoAnswer, "нет ответа"});
  EXPECT_EQ(modbus_write_registers(writer, 100, 2, value), -1);
  EXPECT_EQ(errno, EMBXSFAIL);
  // Writing half a float, or a parameter not allowed: 0x03, nothing asked of the line.
  EXPECT_EQ(modbus_write_register(writer, 100, 0x4382), -1);
  EXPECT_EQ(errno, EMBXILVAL);
  EXPECT_EQ(modbus_write_registers(writer, 102, 2, value), -1);
  EXPECT_EQ(errno, EMBXILVAL);
  EXPECT_EQ(bus_.Writes().size(), 2u);
  ::close(slow);
}

TEST_F(ModbusServerTest, GarbageDropsOnlyItsOwnConnection) {
  ModbusServer server(config_, *config_.modbus, bus_, log_);
  std::string error;
  ASSERT_TRUE(server.Listen(error));
  server.Start();
  const int fd = ConnectTo(server.Port());
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::send(fd, "GET / HTTP/1.0\r\n\r\n", 18, 0), 18);
  char reply[16];
  EXPECT_EQ(::recv(fd, reply, sizeof reply, 0), 0) << "closed without a reply";
  ::close(fd);
  Client client(server.Port(), 1);
  std::uint16_t registers[1];
  EXPECT_EQ(modbus_read_input_registers(client, 14, 1, registers), 1);
}

TEST_F(ModbusServerTest, ConnectionsThatHoldNothingAreTakenBack) {
  ModbusServer server(config_, *config_.modbus, bus_, log_, {3, 2s, 200ms});
  std::string error;
  ASSERT_TRUE(server.Listen(error));
  server.Start();
  const auto connect = [&] {
    const int fd = ConnectTo(server.Port());
    EXPECT_GE(fd, 0);
    return fd;
  };
  // Closed: recv() ends with 0 (the server's close), not with the time-out.
  const auto closed_after = [](int fd) {
    const auto start = std::chrono::steady_clock::now();
    char byte;
    EXPECT_EQ(::recv(fd, &byte, 1, 0), 0);
    ::close(fd);
    return std::chrono::steady_clock::now() - start;
  };
  const int half = connect();
  ASSERT_EQ(::send(half, "\x00\x01\x00", 3, 0), 3);
  EXPECT_LT(closed_after(half), 1500ms) << "half a request is held 200 ms";
  const int idle = connect();
  EXPECT_GT(closed_after(idle), 1500ms) << "an idle connection is kept 2 s";
  // At the limit a new client takes the place of the one idle the longest.
  const int oldest = connect();
  const int second = connect();
  const int third = connect();
  Client client(server.Port(), 1);
  std::uint16_t registers[1];
  EXPECT_EQ(modbus_read_input_registers(client, 14, 1, registers), 1);
  EXPECT_LT(closed_after(oldest), 1500ms);
  char byte;
  EXPECT_EQ(::recv(second, &byte, 1, MSG_DONTWAIT), -1) << "still open";
  ::close(second);
  ::close(third);
}

TEST_F(ModbusServerTest, APortInUseCannotBeListenedOn) {
  ModbusServer first(config_, *config_.modbus, bus_, log_);
  std::string error;
  ASSERT_TRUE(first.Listen(error));
  ModbusServer second(config_, *config_.modbus, bus_, log_);
  EXPECT_FALSE(second.Listen(error));
  EXPECT_TRUE(error.starts_with("Невозможно открыть порт Modbus TCP 127.0.0.1:" +
                                std::to_string(config_.modbus->port) + ": "))
      << error;
}

}  // namespace
}  // namespace zrm::test
