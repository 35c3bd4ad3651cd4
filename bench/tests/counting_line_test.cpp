// The byte counts of the tables come from this wrapper; a miscount would
// move the wire-time limit and every ratio with it.

#include "counting_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>

namespace zrm::bench {
namespace {

// A line that hands out prepared chunks, one per read.
class ChunkLine : public Line {
 public:
  std::deque<std::string> chunks;
  std::size_t written = 0;

  bool IsOpen() const override { return true; }
  bool Reopen() override { return true; }
  void Write(const std::uint8_t*, std::size_t size) override { written += size; }
  LineRead Read(std::uint8_t* buffer, std::size_t capacity, SteadyClock::time_point) override {
    if (chunks.empty()) return {LineReadStatus::kTimedOut, 0};
    const std::string chunk = chunks.front().substr(0, capacity);
    chunks.pop_front();
    std::memcpy(buffer, chunk.data(), chunk.size());
    return {LineReadStatus::kData, chunk.size()};
  }
  void DiscardInput() override {}
};

TEST(CountingLine, GivesEachReplyToTheRequestBeforeIt) {
  ChunkLine inner;
  CountingLine counting(inner);
  std::uint8_t buffer[32];
  const auto deadline = SteadyClock::now();

  inner.chunks = {"noise"};  // before any request: belongs to no exchange
  counting.Read(buffer, sizeof buffer, deadline);

  const std::uint8_t request[] = "abcdef";
  counting.Write(request, 6);
  inner.chunks = {"!1;", "0A;123\r"};
  counting.Read(buffer, sizeof buffer, deadline);
  counting.Read(buffer, sizeof buffer, deadline);
  counting.Read(buffer, sizeof buffer, deadline);  // timed out: counts nothing

  counting.Write(request, 4);
  ASSERT_EQ(counting.Exchanges().size(), 2u);
  EXPECT_EQ(counting.Exchanges()[0].sent, 6u);
  EXPECT_EQ(counting.Exchanges()[0].received, 10u);
  EXPECT_EQ(counting.Exchanges()[1].sent, 4u);
  EXPECT_EQ(counting.Exchanges()[1].received, 0u);
  EXPECT_EQ(inner.written, 10u);
  // Only the exchange whose reply brought a CR has a reply time.
  ASSERT_EQ(counting.ReplyTimes().size(), 2u);
  EXPECT_GE(counting.ReplyTimes()[0], 0);
  EXPECT_LT(counting.ReplyTimes()[1], 0);

  counting.Clear();
  EXPECT_TRUE(counting.Exchanges().empty());
  EXPECT_TRUE(counting.ReplyTimes().empty());
}

}  // namespace
}  // namespace zrm::bench
