// get and set against the emulated instrument: one request each, the value
// in the instrument's memory, the outputs a script reads, and the results of
// refused requests.

#include <gtest/gtest.h>

#include <regex>

#include "cli/cli_process.h"
#include "lib/fault.h"
#include "lib/simulator.h"
#include "lib/pseudo_terminal.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

class CliRawAccessTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(simulator_.Start()); }

  CliOutcome Ctl(std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", dir_.Path(), "--device", simulator_.SlavePath()});
    return RunCtl(args);
  }

  sim::Simulator simulator_;
  ScratchDir dir_;
};

TEST_F(CliRawAccessTest, ByteRoundTrip) {
  const CliOutcome set = Ctl({"set", "2", "6", "byte", "0x2A"});
  EXPECT_EQ(set.exit_code, 0) << set.err;
  EXPECT_EQ(set.out, "");
  EXPECT_EQ(simulator_.Byte(2, 6), 42);
  EXPECT_EQ(simulator_.RequestsReceived(), 1u);

  const CliOutcome get = Ctl({"get", "2", "6", "byte"});
  EXPECT_EQ(get.exit_code, 0) << get.err;
  EXPECT_EQ(get.out, "42\n");
}

TEST_F(CliRawAccessTest, FloatRoundTripPrintsBitsAndValue) {
  EXPECT_EQ(Ctl({"set", "2", "15", "dword", "-1.5"}).exit_code, 0);
  EXPECT_EQ(simulator_.Float(15), -1.5f);
  EXPECT_EQ(Ctl({"get", "2", "15", "dword"}).out, "BFC00000 -1.5\n");

  EXPECT_EQ(Ctl({"set", "2", "15", "dword", "1e6"}).exit_code, 0);
  EXPECT_EQ(Ctl({"get", "2", "15", "dword"}).out, "49742400 1e+06\n");
}

TEST_F(CliRawAccessTest, CheckedWritesReadBack) {
  simulator_.ClearFrames();
  const CliOutcome byte = Ctl({"set", "2", "6", "byte", "7", "--checked"});
  EXPECT_EQ(byte.exit_code, 0) << byte.err;
  ASSERT_EQ(simulator_.Frames().size(), 2u);  // the write and its read-back
  EXPECT_EQ(simulator_.Frames()[1].fields.command, 37u);

  // An instrument that keeps one decimal stays within 0.01 of 2.5 but not of
  // 2.345: every pass reads back 2.3, and the write ends with 15.
  simulator_.SetFloatDecimals(1);
  EXPECT_EQ(Ctl({"set", "2", "15", "dword", "2.5", "--checked"}).exit_code, 0);
  const CliOutcome off = Ctl({"set", "2", "15", "dword", "2.345", "--checked"});
  EXPECT_EQ(off.exit_code, 15);
  EXPECT_NE(off.err.find("Не совпадает записанное и прочитанное (ERR 15)"), std::string::npos);
}

TEST_F(CliRawAccessTest, StatusBlockIsThirtyTwoHexDigits) {
  simulator_.SetInputByte(0x05);
  const CliOutcome get = Ctl({"get", "1", "2", "status"});
  EXPECT_EQ(get.exit_code, 0) << get.err;
  EXPECT_TRUE(std::regex_match(get.out, std::regex("[0-9A-F]{32}\n"))) << get.out;
  EXPECT_EQ(get.out.substr(6, 2), "05");  // byte 3, the input byte
}

TEST_F(CliRawAccessTest, SpaceOtherThanOneOrTwoIsRefusedWithoutSending) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"get", "3", "6", "byte"},
        std::vector<std::string>{"set", "0", "15", "dword", "1"},
        std::vector<std::string>{"get", "7", "2", "status"}}) {
    const CliOutcome outcome = Ctl(args);
    EXPECT_EQ(outcome.exit_code, 5) << args[0] << " " << args[1];
    EXPECT_NE(outcome.err.find("Ошибка: Слишком большой адрес (ERR 5)"), std::string::npos)
        << outcome.err;
  }
  EXPECT_EQ(simulator_.RequestsReceived(), 0u);
}

TEST_F(CliRawAccessTest, InstrumentErrorCodeBecomesTheExitStatus) {
  sim::Fault fault;
  std::string error;
  ASSERT_TRUE(sim::ParseFault("code=0006@2:6", fault, error)) << error;
  simulator_.AddFault(fault);
  const CliOutcome outcome = Ctl({"set", "2", "6", "byte", "1"});
  EXPECT_EQ(outcome.exit_code, 4);
  EXPECT_NE(outcome.err.find("Слишком большой операнд (ERR 4)"), std::string::npos);
}

TEST(CliNoInstrumentTest, SilentLineEndsWithNoAnswer) {
  sim::PseudoTerminal silent_line;  // nothing answers on the other side
  std::string pty_error;
  ASSERT_TRUE(silent_line.Open(pty_error)) << pty_error;
  ScratchDir dir;
  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "--device", silent_line.SlavePath(), "get", "2", "6", "byte"});
  EXPECT_EQ(outcome.exit_code, 2);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, "Ошибка: Прибор не ответил (ERR 2)\n");
}

TEST(CliNoInstrumentTest, DeviceThatCannotBeOpenedSaysSoOnceAndEndsWithNoAnswer) {
  ScratchDir dir;
  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "--device", dir.File("ttyUSB9"), "get", "2", "6", "byte"});
  EXPECT_EQ(outcome.exit_code, 2);
  EXPECT_NE(outcome.err.find("Невозможно открыть последовательный порт"), std::string::npos);
  // The reason is the port; no exchange was tried to fail again.
  EXPECT_EQ(outcome.err.find("Прибор не ответил (ERR 2)"), std::string::npos);
}

}  // namespace
}  // namespace zrm::test
