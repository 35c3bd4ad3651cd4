// Every scripted fault as a client on the line sees it.

#include <gtest/gtest.h>

#include "lib/simulator.h"
#include "sim/raw_client.h"

namespace zrm::sim {
namespace {

using namespace std::chrono_literals;
using test::RawClient;
using test::RequestFrame;

Fault FaultFrom(const std::string& text) {
  Fault fault;
  std::string error;
  EXPECT_TRUE(ParseFault(text, fault, error)) << error;
  return fault;
}

class SimulatorFaultTest : public ::testing::Test {
 protected:
  void StartWith(const std::vector<std::string>& faults) {
    SimulatorOptions options;
    for (const std::string& f : faults) options.faults.push_back(FaultFrom(f));
    simulator_ = std::make_unique<Simulator>(options);
    ASSERT_TRUE(simulator_->Start());
    client_ = std::make_unique<RawClient>(simulator_->SlavePath());
  }

  std::string Ask(const std::string& text, std::chrono::milliseconds timeout = 1000ms) {
    return client_->Exchange(RequestFrame(text), timeout);
  }

  std::unique_ptr<Simulator> simulator_;
  std::unique_ptr<RawClient> client_;
};

const char kSerialRead[] = ":1;37;00000B;";
const std::string kSerialReply = "!1;39;";

TEST_F(SimulatorFaultTest, NoReplyToTheNthRequestOnly) {
  StartWith({"noreply@2"});
  EXPECT_EQ(Ask(kSerialRead).substr(0, 6), kSerialReply);
  EXPECT_EQ(Ask(kSerialRead, 200ms), "");
  EXPECT_EQ(Ask(kSerialRead).substr(0, 6), kSerialReply);
}

TEST_F(SimulatorFaultTest, CutReplyNeverSendsItsCr) {
  StartWith({"cut@1"});
  const std::string reply = Ask(kSerialRead, 300ms);
  EXPECT_EQ(reply.substr(0, 6), kSerialReply);
  EXPECT_EQ(reply.find('\r'), std::string::npos);
}

TEST_F(SimulatorFaultTest, GarbageBeforeTheReply) {
  StartWith({"garbage=70@1"});
  const std::string reply = Ask(kSerialRead);
  EXPECT_EQ(reply.find('!'), 70u);
  EXPECT_EQ(reply.back(), '\r');
}

TEST_F(SimulatorFaultTest, LongReplyExceeds256Bytes) {
  StartWith({"long@1"});
  const std::string reply = Ask(kSerialRead);
  EXPECT_GT(reply.size(), 256u);
  EXPECT_EQ(reply.back(), '\r');
}

TEST_F(SimulatorFaultTest, CodeOfChoiceAtOneAddress) {
  StartWith({"code=000C@2:11:byte"});
  EXPECT_EQ(Ask(kSerialRead), "$000C\r");
  EXPECT_EQ(Ask(":1;37;00000C;").substr(0, 6), "!1;30;");
}

TEST_F(SimulatorFaultTest, DelayedReplyComesLate) {
  StartWith({"delay=300@1"});
  const auto start = Clock::now();
  EXPECT_EQ(Ask(kSerialRead).substr(0, 6), kSerialReply);
  EXPECT_GE(Clock::now() - start, 300ms);
}

TEST_F(SimulatorFaultTest, WrongValueMakesTheReadBackDiffer) {
  StartWith({"wrong@2:15:dword"});
  EXPECT_EQ(Ask(":1;38;00800F;42C80000;"), "$0000\r");
  EXPECT_NE(Ask(":1;37;00800F;").substr(3, 8), "42C80000");
}

TEST_F(SimulatorFaultTest, NulBytesInsideTheReply) {
  StartWith({"nul=3@1"});
  const std::string reply = Ask(kSerialRead);
  const std::size_t nul = reply.find('\0');
  ASSERT_NE(nul, std::string::npos);
  EXPECT_EQ(reply.substr(nul, 3), std::string(3, '\0'));
  EXPECT_EQ(reply.back(), '\r');
}

TEST_F(SimulatorFaultTest, DeviceVanishesAfterTheNthRequest) {
  StartWith({"vanish@2"});
  EXPECT_EQ(Ask(kSerialRead).substr(0, 6), kSerialReply);
  client_->Send(RequestFrame(kSerialRead));
  bool hung_up = false;
  const auto start = Clock::now();
  EXPECT_EQ(client_->Receive(2000ms, &hung_up), "");
  EXPECT_TRUE(hung_up);
  EXPECT_LT(Clock::now() - start, 1000ms);  // at once, not after a time-out
  EXPECT_FALSE(simulator_->Serving());
  EXPECT_EQ(simulator_->RequestsReceived(), 2u);
}

TEST_F(SimulatorFaultTest, FaultsAddedWhileServing) {
  StartWith({});
  simulator_->AddFault(FaultFrom("noreply@" + std::to_string(simulator_->RequestsReceived() + 1)));
  EXPECT_EQ(Ask(kSerialRead, 200ms), "");
  simulator_->AddFault(FaultFrom("code=0006@100%"));
  EXPECT_EQ(Ask(kSerialRead), "$0006\r");
  simulator_->ClearFaults();
  EXPECT_EQ(Ask(kSerialRead).substr(0, 6), kSerialReply);
}

}  // namespace
}  // namespace zrm::sim
