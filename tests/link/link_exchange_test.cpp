#include <gtest/gtest.h>

#include "support/fake_line.h"
#include "link/link.h"

namespace zrm {
namespace {

using std::chrono::milliseconds;
using test::FakeLine;
using test::ReadReply;
using test::RecordingLog;
using test::RequestText;

class LinkExchange : public ::testing::Test {
 protected:
  Link MakeLink(std::uint32_t attempts = 2, std::uint32_t timeout_ms = 1000) {
    return Link(line_, LinkParams{1, attempts, timeout_ms}, &log_);
  }

  FakeLine line_;
  RecordingLog log_;
};

TEST_F(LinkExchange, ReadByteSendsTheRequestAndTakesTheValue) {
  line_.respond = [](const std::string&) { return ReadReply("A5"); };
  Link link = MakeLink();
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadByte(2, 0x12, value), result::kOk);
  EXPECT_EQ(value, 0xA5);
  ASSERT_EQ(line_.written.size(), 1u);
  EXPECT_EQ(RequestText(line_.written[0]), ":1;37;000012;");
  ASSERT_EQ(log_.records.size(), 1u);
  EXPECT_EQ(log_.records[0].sent, line_.written[0]);
  EXPECT_EQ(log_.records[0].received, ReadReply("A5"));
}

TEST_F(LinkExchange, ReadDwordAndStatusBlockDecodeMostSignificantFirst) {
  line_.respond = [](const std::string& frame) {
    return RequestText(frame) == ":1;37;00E002;"
               ? ReadReply("0102030405060708090A0B0C0D0E0F10")
               : ReadReply("3F800000");
  };
  Link link = MakeLink();
  std::uint32_t value = 0;
  EXPECT_EQ(link.ReadDword(2, 0x40, value), result::kOk);
  EXPECT_EQ(value, 0x3F800000u);
  StatusBlock block{};
  EXPECT_EQ(link.ReadStatusBlock(block), result::kOk);
  EXPECT_EQ(block[0], 0x01);
  EXPECT_EQ(block[15], 0x10);
}

TEST_F(LinkExchange, WritesSucceedOnlyOnTheirCodeReply) {
  Link link = MakeLink();
  line_.respond = [](const std::string&) { return std::string("$0000\r"); };
  EXPECT_EQ(link.WriteByte(2, 5, 300), result::kOk);
  EXPECT_EQ(RequestText(line_.written.back()), ":1;38;000005;FF;");
  line_.respond = [](const std::string&) { return std::string("$0006\r"); };
  EXPECT_EQ(link.WriteDword(2, 5, 1), result::kOperandTooBig);
  EXPECT_EQ(line_.written.size(), 3u);  // the failed write was tried twice
  // A line without a code is no acknowledgement, and a read reply answers
  // another request: neither is a success.
  line_.respond = [](const std::string&) { return std::string("OK\r"); };
  EXPECT_EQ(link.WriteByte(2, 5, 1), result::kUnexpectedFormat);
  line_.respond = [](const std::string&) { return ReadReply("3F800000"); };
  EXPECT_EQ(link.WriteDword(2, 5, 1), result::kReplyNotMatched);
  EXPECT_EQ(log_.records.back().discarded.size(), 1u);
  // An acknowledgement from the instrument without data is a write's reply.
  line_.respond = [](const std::string&) { return ReadReply(""); };
  EXPECT_EQ(link.WriteDword(2, 5, 1), result::kOk);
}

TEST_F(LinkExchange, StatusBlockChecksTheCodeBeforeTheData) {
  line_.respond = [](const std::string&) { return std::string("!1;$000D;1\r"); };
  Link link = MakeLink();
  StatusBlock block{};
  block[0] = 0x77;
  EXPECT_EQ(link.ReadStatusBlock(block), result::kChecksum);
  EXPECT_EQ(block[0], 0x77);
}

TEST_F(LinkExchange, ReadAnsweredWithCodeGivesThreeAfterAllAttempts) {
  line_.respond = [](const std::string&) { return std::string("$0001;23\r"); };
  Link link = MakeLink(4);
  std::uint8_t value = 0x11;
  EXPECT_EQ(link.ReadByte(1, 3, value), result::kNotUnderstood);
  EXPECT_EQ(value, 0x11);
  EXPECT_EQ(line_.written.size(), 4u);
  EXPECT_EQ(log_.records.size(), 4u);  // one log entry per attempt
  // Every attempt sends the whole request again.
  for (const auto& frame : line_.written) EXPECT_EQ(frame, line_.written[0]);
}

TEST_F(LinkExchange, AttemptCountIsBroughtIntoTwoToFive) {
  EXPECT_EQ(MakeLink(0).Params().attempts, 2u);
  EXPECT_EQ(MakeLink(1).Params().attempts, 2u);
  EXPECT_EQ(MakeLink(9).Params().attempts, 5u);
  line_.respond = [](const std::string&) { return std::string("$000B\r"); };
  std::uint32_t value = 0;
  EXPECT_EQ(MakeLink(9).ReadDword(2, 0, value), result::kNotUnderstood);
  EXPECT_EQ(line_.written.size(), 5u);
}

TEST_F(LinkExchange, SpaceOtherThanOneOrTwoSendsNothing) {
  Link link = MakeLink();
  std::uint8_t byte = 0;
  std::uint32_t dword = 0;
  line_.open = false;  // not even a re-open is tried
  EXPECT_EQ(link.ReadByte(3, 0, byte), result::kAddressTooBig);
  EXPECT_EQ(link.ReadDword(0, 0, dword), result::kAddressTooBig);
  EXPECT_EQ(link.WriteByte(3, 0, 1), result::kAddressTooBig);
  EXPECT_EQ(link.WriteDword(3, 0, 1), result::kAddressTooBig);
  EXPECT_EQ(link.WriteByteChecked(3, 0, 1), result::kAddressTooBig);
  EXPECT_EQ(link.WriteFloatChecked(3, 0, 1.0f), result::kAddressTooBig);
  EXPECT_TRUE(line_.written.empty());
  EXPECT_TRUE(log_.records.empty());
  EXPECT_EQ(line_.reopen_calls, 0);
}

TEST_F(LinkExchange, ReplyOfMoreThan256BytesOverflowsEvenWithItsCR) {
  Link link = MakeLink();
  std::uint8_t value = 0;
  // 256 bytes with the CR are still a reply; 257 are too many.
  line_.respond = [](const std::string&) { return "!1;42;" + std::string(249, ' ') + "\r"; };
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x42);
  line_.max_chunk = 32;
  line_.respond = [](const std::string&) { return "!1;42;" + std::string(250, ' ') + "\r"; };
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kTooManyChars);
  // A flood without CR ends at the overflow, not at the time-out.
  line_.respond = [](const std::string&) { return std::string(400, 'x'); };
  const auto start = SteadyClock::now();
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kTooManyChars);
  EXPECT_LT(SteadyClock::now() - start, milliseconds(500));
}

TEST_F(LinkExchange, ReplyArrivingInPiecesEndsAtItsCR) {
  line_.respond = [](const std::string&) { return ReadReply("3F800000"); };
  Link link = MakeLink();
  std::uint32_t value = 0;
  // The first answer after the open is confirmed by the quiet after it;
  // from the second on, the wait ends at the CR.
  ASSERT_EQ(link.ReadDword(2, 1, value), result::kOk);
  line_.max_chunk = 3;
  line_.respond = [](const std::string&) { return ReadReply("3F800000") + "!1;trailing"; };
  value = 0;
  EXPECT_EQ(link.ReadDword(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x3F800000u);
  EXPECT_FALSE(line_.pending.empty());  // bytes after the CR stay unread
}

TEST_F(LinkExchange, TimeOutZeroStillWaitsMoreThanOneSecond) {
  Link link = MakeLink(2, 0);
  std::uint8_t value = 0;
  const auto start = SteadyClock::now();
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kNoAnswer);
  EXPECT_GE(SteadyClock::now() - start, milliseconds(2000));
  ASSERT_EQ(log_.records.size(), 2u);
  for (const auto& record : log_.records) {
    EXPECT_GT(record.wait_ms, 1000u);
    EXPECT_LT(record.wait_ms, 1300u);
    EXPECT_TRUE(record.received.empty());
  }
}

TEST_F(LinkExchange, StaleInputIsDiscardedBeforeTheRequest) {
  // A late answer to an earlier request is waiting when the next one starts.
  line_.pending = ReadReply("11");
  line_.respond = [](const std::string&) { return ReadReply("22"); };
  Link link = MakeLink();
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x22);
}

TEST_F(LinkExchange, EchoOfTheRequestIsIgnored) {
  line_.max_chunk = 5;  // the echo and the reply arrive in pieces
  line_.respond = [](const std::string& frame) { return frame + ReadReply("5A"); };
  Link link = MakeLink();
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x5A);
  // An echo starting with ":" (preamble lost) is dropped as well.
  line_.respond = [](const std::string& frame) { return frame.substr(4) + ReadReply("5B"); };
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x5B);
  EXPECT_EQ(log_.records.back().received, ReadReply("5B"));
}

TEST_F(LinkExchange, ZeroByteInsideTheReplyIsAFaultNotATruncatedSuccess) {
  Link link = MakeLink();
  int calls = 0;
  line_.respond = [&calls](const std::string&) {
    return ++calls == 1 ? std::string("\0$0001\r", 7) : std::string("$0000\r");
  };
  EXPECT_EQ(link.WriteByte(2, 1, 1), result::kOk);
  EXPECT_EQ(calls, 2);  // the damaged reply did not count as success
  line_.respond = [](const std::string&) { return std::string("!1;4\0002;1\r", 9); };
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kNotUnderstood);
}

TEST_F(LinkExchange, VanishedDeviceEndsAtOnceAndIsReopenedNextTime) {
  line_.vanish_on_read = true;
  Link link = MakeLink(3, 3000);
  std::uint8_t value = 0;
  const auto start = SteadyClock::now();
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kNoAnswer);
  EXPECT_LT(SteadyClock::now() - start, milliseconds(200));
  EXPECT_EQ(log_.records.size(), 3u);
  EXPECT_EQ(line_.reopen_calls, 0);

  // Still away at the next operation: one re-open is tried, then 2 at once.
  line_.vanish_on_read = false;
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kNoAnswer);
  EXPECT_EQ(line_.reopen_calls, 1);
  EXPECT_LT(SteadyClock::now() - start, milliseconds(400));

  // Plugged in again.
  line_.reopen_succeeds = true;
  line_.respond = [](const std::string&) { return ReadReply("07"); };
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x07);
  EXPECT_EQ(line_.reopen_calls, 2);
}

TEST_F(LinkExchange, WorksWithoutExchangeLog) {
  line_.respond = [](const std::string&) { return ReadReply("01", 7); };
  Link link(line_, LinkParams{7, 2, 1000}, nullptr);
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadByte(1, 0, value), result::kOk);
  EXPECT_EQ(RequestText(line_.written[0]), ":7;37;002000;");
}


TEST_F(LinkExchange, RepliesOfOtherInstrumentsAndRequestsAreSetAsideAndLogged) {
  // Another instrument's reply and a late dword come before the byte that
  // was asked for.
  line_.respond = [](const std::string&) {
    return ReadReply("11", 12) + ReadReply("3F800000") + ReadReply("42");
  };
  Link link = MakeLink();
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x42);
  ASSERT_EQ(log_.records.size(), 1u);
  const auto& discarded = log_.records[0].discarded;
  ASSERT_EQ(discarded.size(), 2u);
  EXPECT_EQ(discarded[0].bytes, ReadReply("11", 12));
  EXPECT_EQ(discarded[0].why, DiscardReason::kOtherAddress);
  EXPECT_EQ(discarded[1].why, DiscardReason::kOtherRequest);
  EXPECT_EQ(log_.records[0].received, ReadReply("42"));

  // Nothing but replies to other requests: no value, its own result.
  line_.respond = [](const std::string&) { return ReadReply("42", 2) + ReadReply("0102"); };
  std::uint32_t dword = 0xDEADBEEF;
  EXPECT_EQ(link.ReadDword(2, 1, dword), result::kReplyNotMatched);
  EXPECT_EQ(dword, 0xDEADBEEFu);
  StatusBlock block{};
  line_.respond = [](const std::string&) { return ReadReply("3F800000"); };
  EXPECT_EQ(link.ReadStatusBlock(block), result::kReplyNotMatched);
}

TEST_F(LinkExchange, UnreadableLineEndsItsAttemptAndTheRetryMustStandAlone) {
  // The real answer may still be on its way after a line of noise or one
  // too long to be a reply: the retry's answer counts only when nothing
  // follows it, also long after the open, once answers stood alone.
  for (const std::string& bad : {std::string("noise\r"), std::string(300, 'x') + "\r"}) {
    SCOPED_TRACE(bad.size());
    int requests = 0;
    line_.respond = [&requests, &bad](const std::string&) {
      ++requests;
      if (requests == 1) return ReadReply("30");
      if (requests == 2) return bad;
      if (requests == 3) return ReadReply("31") + ReadReply("32");
      return ReadReply("33");
    };
    Link link = MakeLink();
    std::uint8_t value = 0;
    ASSERT_EQ(link.ReadByte(2, 1, value), result::kOk);
    const auto start = SteadyClock::now();
    EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
    EXPECT_LT(SteadyClock::now() - start, milliseconds(900));  // no time-out was waited
    EXPECT_EQ(value, 0x33);
    EXPECT_EQ(requests, 4);
  }
  Link link = MakeLink();
  // Noise to a write is no acknowledgement either.
  line_.respond = [](const std::string&) { return std::string("noise\r"); };
  EXPECT_EQ(link.WriteByte(2, 1, 1), result::kUnexpectedFormat);
}

TEST_F(LinkExchange, AfterATimeOutAnAnswerCountsOnlyWhenNoSecondFollows) {
  // The first request goes unanswered; its answer comes late, together with
  // the retry's, so the two cannot be told apart: both are dropped and the
  // request is asked again, and only that single answer is taken.
  int requests = 0;
  line_.respond = [&requests](const std::string&) {
    ++requests;
    if (requests == 1) return std::string();
    if (requests == 2) return ReadReply("EE") + ReadReply("EF");
    return ReadReply("11");
  };
  Link link = MakeLink();
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x11);
  EXPECT_EQ(requests, 3);
  ASSERT_EQ(log_.records.size(), 3u);
  EXPECT_EQ(log_.records[1].discarded.size(), 2u);
  EXPECT_EQ(log_.records[1].discarded[0].why, DiscardReason::kCrossed);

  // Still unsettled: the next exchange is checked the same way, and answers
  // that stay crossed end with their own result, never with a value.
  line_.respond = [](const std::string&) { return ReadReply("22") + "\n" + ReadReply("23"); };
  value = 0x5A;
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kReplyNotMatched);
  EXPECT_EQ(value, 0x5A);
  EXPECT_EQ(line_.written.size(), 3u + 3u);  // asked again as often as the attempt count allows
  // A line feed after the CR is no second reply.
  line_.respond = [](const std::string&) { return ReadReply("24") + "\n"; };
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x24);
}

}  // namespace
}  // namespace zrm
