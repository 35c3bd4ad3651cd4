#include <bit>
#include <cstdio>

#include <gtest/gtest.h>

#include "support/fake_line.h"
#include "link/link.h"

namespace zrm {
namespace {

using test::FakeLine;
using test::ReadReply;
using test::RequestText;

std::string HexOf(float value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", std::bit_cast<std::uint32_t>(value));
  return text;
}

// An instrument that acknowledges every write and reads back what the test
// chooses; the counters start again with each choice.
class CheckedWrite : public ::testing::Test {
 protected:
  void AnswerReadsWith(std::string data) {
    writes_ = reads_ = 0;
    line_.respond = [this, data](const std::string& frame) {
      if (RequestText(frame).find(";38;") != std::string::npos) {
        ++writes_;
        return std::string("$0000\r");
      }
      ++reads_;
      return ReadReply(data);
    };
  }

  FakeLine line_;
  Link link_{line_, LinkParams{1, 3, 1000}, nullptr};
  int writes_ = 0;
  int reads_ = 0;
};

TEST_F(CheckedWrite, FloatWithinToleranceIsAccepted) {
  AnswerReadsWith(HexOf(1.009f));
  EXPECT_EQ(link_.WriteFloatChecked(2, 0x30, 1.0f), result::kOk);
  EXPECT_EQ(writes_, 1);
  EXPECT_EQ(reads_, 1);
  EXPECT_EQ(RequestText(line_.written[0]), ":1;38;008030;3F800000;");
  EXPECT_EQ(RequestText(line_.written[1]), ":1;37;008030;");
}

TEST_F(CheckedWrite, FloatOutsideToleranceRepeatsEveryPassThenGivesFifteen) {
  AnswerReadsWith(HexOf(1.02f));
  EXPECT_EQ(link_.WriteFloatChecked(2, 0x30, 1.0f), result::kReadBackMismatch);
  EXPECT_EQ(writes_, 3);
  EXPECT_EQ(reads_, 3);
  AnswerReadsWith("7FC00000");  // NaN never matches
  EXPECT_EQ(link_.WriteFloatChecked(2, 0x30, 1.0f), result::kReadBackMismatch);
}

TEST_F(CheckedWrite, ByteMustReadBackEqual) {
  AnswerReadsWith("07");
  EXPECT_EQ(link_.WriteByteChecked(2, 0x10, 7), result::kOk);
  AnswerReadsWith("08");
  EXPECT_EQ(link_.WriteByteChecked(2, 0x10, 7), result::kReadBackMismatch);
  EXPECT_EQ(writes_, 3);
  // 300 goes out as FF and can never read back as 300.
  AnswerReadsWith("FF");
  EXPECT_EQ(link_.WriteByteChecked(2, 0x10, 300), result::kReadBackMismatch);
}

TEST_F(CheckedWrite, FailureOfWriteOrReadEndsThePassesWithItsResult) {
  line_.respond = [](const std::string&) { return std::string("$0003\r"); };
  EXPECT_EQ(link_.WriteByteChecked(2, 0x10, 7), result::kParameterNotFound);
  EXPECT_EQ(line_.written.size(), 3u);  // the write's own attempts, no read
  line_.written.clear();
  line_.respond = [](const std::string& frame) {
    return RequestText(frame).find(";38;") != std::string::npos ? std::string("$0000\r")
                                                                 : std::string("$0001\r");
  };
  EXPECT_EQ(link_.WriteFloatChecked(2, 0x30, 2.5f), result::kNotUnderstood);
  EXPECT_EQ(line_.written.size(), 4u);  // one write, three read attempts
}

}  // namespace
}  // namespace zrm
