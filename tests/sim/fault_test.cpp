// Scripted faults: their text form, which requests they hit, and what each
// does to the answer.

#include <gtest/gtest.h>

#include "lib/default_instrument.h"
#include "lib/fault_plan.h"
#include "lib/instrument.h"
#include "lib/reply_forms.h"
#include "sim/raw_client.h"

namespace zrm::sim {
namespace {

using test::RequestFrame;

Fault Parsed(const std::string& text) {
  Fault fault;
  std::string error;
  EXPECT_TRUE(ParseFault(text, fault, error)) << text << ": " << error;
  return fault;
}

TEST(SimFaultText, ReadsKindsArgumentsAndSelectors) {
  const Fault code = Parsed("code=000C@2:15:dword");
  EXPECT_EQ(code.kind, FaultKind::kErrorCode);
  EXPECT_EQ(code.argument, 0x000Cu);
  EXPECT_EQ(code.when.by, FaultWhen::By::kParameter);
  EXPECT_EQ(code.when.space, 2);
  EXPECT_EQ(code.when.address, 15u);
  EXPECT_EQ(code.when.width, Width::kDword);

  const Fault share = Parsed("noreply@25%");
  EXPECT_EQ(share.when.by, FaultWhen::By::kShare);
  EXPECT_DOUBLE_EQ(share.when.share, 0.25);

  const Fault numbered = Parsed("garbage@3");
  EXPECT_EQ(numbered.when.request_number, 3u);
  EXPECT_EQ(numbered.argument, 8u);
  EXPECT_EQ(Parsed("nul@1").argument, 1u);
  EXPECT_EQ(Parsed("delay=1500@1:6").argument, 1500u);
  EXPECT_FALSE(Parsed("vanish@1:6").when.width.has_value());
}

TEST(SimFaultText, RejectsMalformedText) {
  const char* bad[] = {"noreply", "nothing@1", "noreply@0", "code@1", "code=XYZ@1",
                       "delay@1", "wrong=3@1", "noreply@101%", "noreply@3:1",
                       "noreply@2:9000", "noreply@2:15:word", "noreply@", "cut=-1@1"};
  for (const char* text : bad) {
    Fault fault;
    std::string error;
    EXPECT_FALSE(ParseFault(text, fault, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(SimFaultPlan, SelectsByRequestNumberAndParameter) {
  const std::vector<Fault> faults = {Parsed("noreply@2"), Parsed("wrong@2:29")};
  EXPECT_FALSE(SelectFaults(faults, 1, DwordParameter(29), 1).no_reply);
  EXPECT_TRUE(SelectFaults(faults, 2, std::nullopt, 1).no_reply);
  EXPECT_TRUE(SelectFaults(faults, 1, DwordParameter(29), 1).wrong_value);
  EXPECT_TRUE(SelectFaults(faults, 7, ByteParameter(2, 29), 1).wrong_value);  // any width
  EXPECT_FALSE(SelectFaults(faults, 1, DwordParameter(30), 1).wrong_value);
  EXPECT_FALSE(SelectFaults(faults, 1, std::nullopt, 1).wrong_value);
}

TEST(SimFaultPlan, ShareIsReproducibleForASeedAndNearItsFraction) {
  const std::vector<Fault> faults = {Parsed("noreply@30%")};
  int hits = 0;
  for (std::size_t n = 1; n <= 2000; ++n) {
    const bool hit = SelectFaults(faults, n, std::nullopt, 42).no_reply;
    EXPECT_EQ(hit, SelectFaults(faults, n, std::nullopt, 42).no_reply);
    hits += hit ? 1 : 0;
  }
  EXPECT_GT(hits, 500);
  EXPECT_LT(hits, 700);
  int differ = 0;
  for (std::size_t n = 1; n <= 100; ++n) {
    differ += SelectFaults(faults, n, std::nullopt, 42).no_reply !=
              SelectFaults(faults, n, std::nullopt, 43).no_reply;
  }
  EXPECT_GT(differ, 0);
  EXPECT_FALSE(SelectFaults({Parsed("noreply@0%")}, 5, std::nullopt, 1).no_reply);
  EXPECT_TRUE(SelectFaults({Parsed("noreply@100%")}, 5, std::nullopt, 1).no_reply);
}

TEST(SimFaultShape, DeformsTheReplyAsNamed) {
  const std::string reply = ReadReply(1, "39");
  FaultEffects cut;
  cut.cut = 0;
  EXPECT_EQ(ShapeReply(reply, cut), reply.substr(0, reply.size() - 1));
  cut.cut = 3;
  EXPECT_EQ(ShapeReply(reply, cut), "!1;");

  FaultEffects garbage;
  garbage.garbage = 70;
  const std::string junked = ShapeReply(reply, garbage);
  EXPECT_EQ(junked.size(), reply.size() + 70);
  EXPECT_EQ(junked.find('!'), 70u);
  EXPECT_EQ(junked.find_first_of(std::string("\r\0$;", 4)), junked.find(';'));

  FaultEffects long_reply;
  long_reply.long_reply = true;
  const std::string padded = ShapeReply(reply, long_reply);
  EXPECT_GT(padded.size(), 256u);
  EXPECT_EQ(padded.back(), '\r');
  EXPECT_EQ(padded.substr(padded.size() - reply.size()), reply);

  FaultEffects nul;
  nul.nul = 2;
  const std::string with_nul = ShapeReply(reply, nul);
  EXPECT_EQ(with_nul.size(), reply.size() + 2);
  EXPECT_NE(with_nul.find(std::string(2, '\0')), std::string::npos);
  EXPECT_LT(with_nul.find('\0'), with_nul.find('\r'));
}

class FaultyInstrumentTest : public ::testing::Test {
 protected:
  Response Ask(const std::vector<Fault>& faults, const std::string& text) {
    InstrumentSetup setup;
    setup.memory = DefaultInstrumentMemory();
    setup.faults = faults;
    instrument_ = std::make_unique<Instrument>(setup, Clock::now());
    ReceivedFrame frame;
    frame.number = 1;
    frame.raw = RequestFrame(text);
    return instrument_->Serve(frame, Clock::now());
  }

  std::unique_ptr<Instrument> instrument_;
};

TEST_F(FaultyInstrumentTest, NoReplySwallowsTheRequestWithoutStoringIt) {
  EXPECT_EQ(Ask({Parsed("noreply@1")}, ":1;38;00013B;09;").reply, "");
  EXPECT_EQ(instrument_->Memory().Byte(2, 315), 8);
}

TEST_F(FaultyInstrumentTest, CodeOfChoiceReplacesTheAnswer) {
  EXPECT_EQ(Ask({Parsed("code=0006@2:315")}, ":1;38;00013B;09;").reply, "$0006\r");
  EXPECT_EQ(instrument_->Memory().Byte(2, 315), 8);
  EXPECT_EQ(Ask({Parsed("code=0003@2:315")}, ":1;37;00013B;").reply, "$0003\r");
}

TEST_F(FaultyInstrumentTest, WrongValueStoresSomethingElse) {
  EXPECT_EQ(Ask({Parsed("wrong@1")}, ":1;38;00800F;42C80000;").reply, "$0000\r");
  EXPECT_GT(std::abs(*instrument_->Memory().Float(15) - 100.0f), 0.01f);
  Ask({Parsed("wrong@1")}, ":1;38;00013B;09;");
  EXPECT_NE(instrument_->Memory().Byte(2, 315), 9);
}

TEST_F(FaultyInstrumentTest, DelayAndVanishAreHandedToTheLine) {
  EXPECT_EQ(Ask({Parsed("delay=250@1")}, ":1;37;00000B;").delay, std::chrono::milliseconds(250));
  const Response vanish = Ask({Parsed("vanish@1")}, ":1;37;00000B;");
  EXPECT_TRUE(vanish.vanish);
  EXPECT_EQ(vanish.reply, "");
}

TEST_F(FaultyInstrumentTest, FaultsDoNotMakeTheInstrumentAnswerOtherAddresses) {
  EXPECT_EQ(Ask({Parsed("code=0003@1")}, ":2;37;00000B;").reply, "");
}

}  // namespace
}  // namespace zrm::sim
