// Network lines: the address syntax, the Telnet side of RFC 2217, and the
// protocol through ser2net (started here on 127.0.0.1, bridging the
// simulator's pseudo-terminal) in raw and in RFC 2217 mode.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "lib/simulator.h"
#include "link/link.h"
#include "link/port_opening.h"
#include "platform/network_address.h"
#include "platform/port_line.h"
#include "platform/telnet_stream.h"
#include "support/fake_line.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

extern char** environ;

namespace zrm {
namespace {

using std::chrono::milliseconds;

TEST(NetworkAddress, SchemesHostsAndPorts) {
  struct Case {
    const char* path;
    bool network;
    bool valid;
    NetworkProtocol protocol;
    const char* host;
    const char* port;
  };
  const Case cases[] = {
      {"tcp://192.168.1.20:4001", true, true, NetworkProtocol::kRawTcp, "192.168.1.20", "4001"},
      {"rfc2217://moxa.local:950", true, true, NetworkProtocol::kRfc2217, "moxa.local", "950"},
      {"tcp://[::1]:2000", true, true, NetworkProtocol::kRawTcp, "::1", "2000"},
      {"tcp://host", true, false, {}, "", ""},
      {"tcp://:4001", true, false, {}, "", ""},
      {"tcp://host:0", true, false, {}, "", ""},
      {"tcp://host:65536", true, false, {}, "", ""},
      {"tcp://host:40x1", true, false, {}, "", ""},
      {"tcp://a/b:4001", true, false, {}, "", ""},
      {"/dev/ttyUSB0", false, false, {}, "", ""},
      {"TCP://host:1", false, false, {}, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(IsNetworkPath(c.path), c.network);
    const auto address = ParseNetworkAddress(c.path);
    ASSERT_EQ(address.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(address->protocol, c.protocol);
    EXPECT_EQ(address->host, c.host);
    EXPECT_EQ(address->port, c.port);
  }
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(TelnetStream, SettingsEscapesAndTheServersNegotiation) {
  EXPECT_EQ(TelnetStream::PortSettings(9600),
            Bytes({255, 250, 44, 1, 0, 0, 0x25, 0x80, 255, 240, 255, 250, 44, 2, 8, 255, 240,
                   255, 250, 44, 3, 1, 255, 240, 255, 250, 44, 4, 1, 255, 240}));
  const std::uint8_t frame[] = {0xFF, 0xFF, 0x24, 0xFF};
  EXPECT_EQ(TelnetStream::EscapeData(frame, 4), Bytes({255, 255, 255, 255, 0x24, 255, 255}));

  TelnetStream telnet;
  EXPECT_EQ(telnet.Greeting(), Bytes({255, 251, 0, 255, 253, 0, 255, 251, 44}));
  // What ser2net says on a new connection, then a baud answer and data with
  // a doubled 0xFF, cut in the middle of its commands.
  const std::string server =
      Bytes({255, 251, 3, 255, 253, 3, 255, 251, 1, 255, 254, 1, 255, 253, 0, 255, 251, 0,
             255, 253, 44, 255, 250, 44, 101, 0, 0, 0x25, 0x80, 255, 240, 255, 255, 'X', '\r'});
  std::string data;
  std::string answers;
  const std::size_t cuts[] = {0, 2, 7, 13, 24, 31, 32, server.size()};
  for (std::size_t i = 0; i + 1 < std::size(cuts); ++i)
    telnet.Receive(reinterpret_cast<const std::uint8_t*>(server.data()) + cuts[i],
                   cuts[i + 1] - cuts[i], data, answers);
  EXPECT_EQ(data, Bytes({255, 'X', '\r'}));
  // DO for suppress-go-ahead, WILL for it, DONT echo; nothing twice.
  EXPECT_EQ(answers, Bytes({255, 253, 3, 255, 251, 3, 255, 254, 1}));
  EXPECT_TRUE(telnet.ComPortAccepted());
}

// A port on 127.0.0.1 nobody listens on now.
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

// True when a socket listens on the port. Read from the kernel's table, not
// probed by connecting: a connection would make ser2net open its device.
bool Listens(int port) {
  std::ifstream table("/proc/net/tcp");
  std::string line;
  std::getline(table, line);  // the header
  char wanted[8];
  std::snprintf(wanted, sizeof wanted, ":%04X", port);
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    if (local.ends_with(wanted) && state == "0A") return true;  // 0A: LISTEN
  }
  return false;
}

// ser2net serving one device on a loopback port, raw or RFC 2217. One
// server per device at a time: ser2net gives a device to one connection.
class Ser2Net {
 public:
  Ser2Net(const std::string& device, NetworkProtocol protocol)
      : port_(FreePort()), protocol_(protocol) {
    const std::string accepter = protocol == NetworkProtocol::kRfc2217 ? "telnet(rfc2217),tcp" : "tcp";
    test::WriteBytes(dir_.File("ser2net.yaml"),
                     "connection: &line\n  accepter: " + accepter + ",127.0.0.1," +
                         std::to_string(port_) + "\n  connector: serialdev," + device +
                         ",9600n81,local\n");
    Start();
  }
  ~Ser2Net() { Stop(); }

  void Start() {
    const std::string config = dir_.File("ser2net.yaml");
    const std::string pid_file = dir_.File("ser2net.pid");
    std::vector<std::string> args = {"ser2net", "-n", "-u", "-c", config, "-P", pid_file};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&pid_, "ser2net", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(spawned, 0) << "ser2net is not installed (scripts/install-deps.sh installs it)";
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Listens(port_)) {
      ASSERT_LT(std::chrono::steady_clock::now(), until) << "ser2net does not listen";
      std::this_thread::sleep_for(milliseconds(20));
    }
  }

  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  std::string Path() const {
    return (protocol_ == NetworkProtocol::kRfc2217 ? "rfc2217://127.0.0.1:" : "tcp://127.0.0.1:") +
           std::to_string(port_);
  }

 private:
  test::ScratchDir dir_;
  int port_;
  NetworkProtocol protocol_;
  pid_t pid_ = -1;
};

constexpr NetworkProtocol kProtocols[] = {NetworkProtocol::kRawTcp, NetworkProtocol::kRfc2217};

// The same exchanges on any line: a byte, a float, a checked float write.
std::vector<std::string> ExchangeAndCollectFrames(sim::Simulator& instrument, Line& line) {
  instrument.ClearFrames();
  Link link(line, LinkParams{}, nullptr);
  std::uint8_t type = 0;
  std::uint32_t bits = 0;
  EXPECT_EQ(link.ReadByte(2, 3, type), result::kOk);
  EXPECT_EQ(link.ReadDword(2, 15, bits), result::kOk);
  EXPECT_EQ(link.WriteFloatChecked(2, 29, 50.0f), result::kOk);
  std::vector<std::string> frames;
  for (const auto& frame : instrument.Frames()) frames.push_back(frame.raw);
  return frames;
}

class NetworkLine : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(instrument_.Start(&error)) << error;
  }

  bool Open(PortLine& line, const std::string& path) {
    std::string reason;
    const bool opened = line.Open(path, 9600, reason);
    EXPECT_TRUE(opened) << reason;
    return opened;
  }

  sim::Simulator instrument_;
};

TEST_F(NetworkLine, RawAndRfc2217CarryTheFramesOfADirectLineByteForByte) {
  PortLine direct;
  ASSERT_TRUE(Open(direct, instrument_.SlavePath()));
  const std::vector<std::string> expected = ExchangeAndCollectFrames(instrument_, direct);
  ASSERT_EQ(expected.size(), 4u);  // the write is read back
  ASSERT_EQ(expected[0].substr(0, 4), std::string(4, '\xFF'));
  direct.Close();

  for (const NetworkProtocol protocol : kProtocols) {
    Ser2Net server(instrument_.SlavePath(), protocol);
    SCOPED_TRACE(server.Path());
    PortLine network;
    ASSERT_TRUE(Open(network, server.Path()));
    EXPECT_EQ(ExchangeAndCollectFrames(instrument_, network), expected);
  }
}

TEST_F(NetworkLine, StoppedServerEndsExchangesAtOnceAndItsRestartIsUsedAtTheNextOne) {
  for (const NetworkProtocol protocol : kProtocols) {
    Ser2Net server(instrument_.SlavePath(), protocol);
    SCOPED_TRACE(server.Path());
    PortLine line;
    ASSERT_TRUE(Open(line, server.Path()));
    Link link(line, LinkParams{}, nullptr);
    std::uint8_t value = 0;
    ASSERT_EQ(link.ReadByte(2, 3, value), result::kOk);

    server.Stop();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.ReadByte(2, 3, value), result::kNoAnswer);
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(500));

    server.Start();
    EXPECT_EQ(link.ReadByte(2, 3, value), result::kOk);
  }
}

// A hostile or broken server on a free loopback port: it takes one
// connection, says `opening`, then sends `endless` over and over until the
// client goes, the test ends or kFloodLimit passes (so that a client that
// never stops reading fails its test instead of hanging it). An empty
// `endless` keeps the connection silent; with `hang_up_on_request` the
// server reads the first request and closes the connection.
class HostilePeer {
 public:
  static constexpr auto kFloodLimit = std::chrono::seconds(10);

  // `endless` is sent as fast as the client takes it, or once every `pause`
  // when one is given (a steady trickle).
  explicit HostilePeer(std::string opening = "", std::string endless = "",
                       bool hang_up_on_request = false,
                       std::chrono::milliseconds pause = std::chrono::milliseconds(0))
      : listener_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)),
        hang_up_on_request_(hang_up_on_request),
        pause_(pause) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener_, 1) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
      ADD_FAILURE() << "no loopback port to listen on";
    port_ = ntohs(address.sin_port);
    std::string burst;
    while (!endless.empty() && burst.size() < 65536 && pause.count() == 0) burst += endless;
    if (pause.count() > 0) burst = endless;
    server_ = std::thread(
        [this, opening = std::move(opening), burst = std::move(burst)] { Serve(opening, burst); });
  }
  ~HostilePeer() {
    stop_ = true;
    server_.join();
    ::close(listener_);
  }

  std::string Path(const char* scheme) const {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_);
  }
  // Bytes the client's side of the connection took so far.
  std::size_t Sent() const { return sent_; }

 private:
  // Waits for `events` on `fd` in short steps, so that the end of the test is
  // seen; false once the test ends.
  bool WaitFor(int fd, short events) const {
    pollfd pfd{fd, events, 0};
    while (!stop_)
      if (::poll(&pfd, 1, 50) > 0) return true;
    return false;
  }

  void Serve(const std::string& opening, const std::string& burst) {
    if (!WaitFor(listener_, POLLIN)) return;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    const auto until = std::chrono::steady_clock::now() + kFloodLimit;
    bool open = client >= 0 && Send(client, opening);
    while (open && !burst.empty() && std::chrono::steady_clock::now() < until && !stop_) {
      open = Send(client, burst);
      std::this_thread::sleep_for(pause_);
    }
    if (open && hang_up_on_request_ && WaitFor(client, POLLIN)) {
      char request[256];
      Ignore(::recv(client, request, sizeof request, 0));
      ::close(client);
      return;
    }
    if (client >= 0) {
      WaitFor(client, POLLRDHUP);  // the client closes first, or the test ends
      ::close(client);
    }
  }

  // Sends as much of `bytes` as the client takes; false once it has gone.
  bool Send(int client, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
      if (!WaitFor(client, POLLOUT)) return false;
      const ssize_t n =
          ::send(client, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n < 0 && errno == EAGAIN) continue;
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
      sent_ += static_cast<std::size_t>(n);
    }
    return true;
  }

  static void Ignore(ssize_t) {}

  int listener_;
  const bool hang_up_on_request_;
  const std::chrono::milliseconds pause_;
  int port_ = 0;
  std::atomic<bool> stop_ = false;
  std::atomic<std::size_t> sent_ = 0;
  std::thread server_;
};

TEST(PortLineOpening, NetworkFailuresSayWhy) {
  const HostilePeer no_telnet_server;  // accepts, but never speaks Telnet
  const std::string refused = "tcp://127.0.0.1:" + std::to_string(FreePort());
  const std::string no_telnet = no_telnet_server.Path("rfc2217");
  const std::pair<std::string, std::string> cases[] = {
      {refused, refused + ": соединение отвергнуто"},
      {"tcp://4001", "tcp://4001: адрес должен быть вида tcp://УЗЕЛ:ПОРТ или rfc2217://УЗЕЛ:ПОРТ"},
      {no_telnet, no_telnet + ": сервер портов не принял настройку порта (RFC 2217)"},
  };
  for (const auto& [path, reason] : cases) {
    SCOPED_TRACE(path);
    PortLine line;
    test::RecordingOperator op;
    EXPECT_FALSE(OpenPort(line, path, 9600, op));
    EXPECT_EQ(op.Messages(),
              std::vector<std::string>{"message|Ошибка|Невозможно открыть последовательный порт\n" +
                                       reason + "|error"});
    // The link stays usable: an exchange ends with 2.
    Link link(line, LinkParams{}, nullptr);
    std::uint8_t value = 0;
    EXPECT_EQ(link.ReadByte(2, 3, value), result::kNoAnswer);
  }
}

// What a server floods with before it takes the COM-PORT-OPTION: data, a
// subnegotiation without its end, commands without options, options refused
// and offered again. Each is given up at a few KB with its own message; the
// whole flood would be gigabytes a second.
TEST(PortLineOpening, ServerThatFloodsBeforeTakingThePortSettingsIsGivenUp) {
  const std::string floods[] = {
      std::string(1000, 'A'),
      Bytes({255, 250, 44}) + std::string(1000, 'x'),
      Bytes({255, 241}),                   // NOP
      Bytes({255, 252, 44, 255, 251, 1}),  // WONT COM-PORT, WILL ECHO
      Bytes({255, 255}),                   // data 0xFF
  };
  for (const std::string& flood : floods) {
    HostilePeer server("", flood);
    const std::string path = server.Path("rfc2217");
    SCOPED_TRACE(testing::PrintToString(flood.substr(0, 6)));
    PortLine line;
    std::string reason;
    const auto start = SteadyClock::now();
    EXPECT_FALSE(line.Open(path, 9600, reason));
    EXPECT_EQ(reason,
              path + ": сервер портов прислал больше 4 КБ, не приняв настройку порта (RFC 2217)");
    EXPECT_LT(SteadyClock::now() - start, std::chrono::seconds(5));
    // What the client took is bounded by the limit and the socket buffers.
    EXPECT_LT(server.Sent(), 64u << 20);
    EXPECT_FALSE(line.IsOpen());
  }
}

// A server that takes the port settings, then sends bytes that decode to no
// data for ever (a subnegotiation without its end, or NOPs), flooding or in
// a steady trickle that wakes every wait before its deadline: a discard ends
// with what had arrived, a read at its deadline, and so does an exchange.
TEST(PortLineOpening, EndlessBytesWithoutDataNeverHoldAWaitPastItsDeadline) {
  const struct {
    std::string opening;
    std::string endless;
    milliseconds pause;
  } peers[] = {
      {Bytes({255, 253, 44, 255, 250, 44}), "no end ", milliseconds(0)},
      {Bytes({255, 253, 44}), Bytes({255, 241}), milliseconds(0)},
      {Bytes({255, 253, 44, 255, 250, 44}), "x", milliseconds(20)},
      {Bytes({255, 253, 44}), Bytes({255, 241}), milliseconds(20)},
  };
  for (const auto& [opening, endless, pause] : peers) {
    HostilePeer server(opening, endless, false, pause);
    SCOPED_TRACE(endless + " every " + std::to_string(pause.count()) + " ms");
    PortLine line;
    std::string reason;
    ASSERT_TRUE(line.Open(server.Path("rfc2217"), 9600, reason)) << reason;

    auto start = SteadyClock::now();
    line.DiscardInput();
    EXPECT_LT(SteadyClock::now() - start, std::chrono::seconds(2));

    std::uint8_t buffer[64];
    start = SteadyClock::now();
    EXPECT_EQ(line.Read(buffer, sizeof buffer, start + milliseconds(200)).status,
              LineReadStatus::kTimedOut);
    EXPECT_LT(SteadyClock::now() - start, std::chrono::seconds(2));

    Link link(line, LinkParams{}, nullptr);
    std::uint8_t value = 0;
    start = SteadyClock::now();
    EXPECT_EQ(link.ReadByte(2, 3, value), result::kNoAnswer);
    EXPECT_LT(SteadyClock::now() - start, std::chrono::seconds(6));  // 2 attempts of 1 s
  }
}

// A server that hangs up on the request is no answer at once, not after
// the time-out; a reply a server sends unasked with its DO COM-PORT-OPTION is
// never taken for the answer to the first request.
TEST(PortLineOpening, ServersThatHangUpOrSpeakUnaskedNeverGiveAnAnswer) {
  const std::string do_com_port = Bytes({255, 253, 44});
  HostilePeer hangs_up(do_com_port, "", true);
  HostilePeer unasked(do_com_port + test::ReadReply("42"));
  for (const HostilePeer* server : {&hangs_up, &unasked}) {
    PortLine line;
    std::string reason;
    ASSERT_TRUE(line.Open(server->Path("rfc2217"), 9600, reason)) << reason;
    Link link(line, LinkParams{1, 2, server == &hangs_up ? 3000u : 1000u}, nullptr);
    std::uint8_t value = 0x11;
    const auto start = SteadyClock::now();
    EXPECT_EQ(link.ReadByte(2, 3, value), result::kNoAnswer);
    EXPECT_EQ(value, 0x11);
    if (server == &hangs_up) {
      EXPECT_LT(SteadyClock::now() - start, std::chrono::seconds(2));
    }
  }
}

}  // namespace
}  // namespace zrm
