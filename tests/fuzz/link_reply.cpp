// Fuzzes the link's handling of whatever comes back from the line: every
// parameter operation runs against a line that answers each request with
// bytes taken from the fuzz input, cut into reads of a fuzzed size. The
// decoders also see the whole input as one reply of each width.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "link/link.h"
#include "link/reply_check.h"
#include "link/reply_match.h"

namespace {

using namespace zrm;
using fuzz::Require;

// A line whose instrument answers each request with the next fuzzed reply.
// It never waits: once a reply is used up the read times out at once, or the
// device is gone when the input says so.
class FuzzedLine : public Line {
 public:
  explicit FuzzedLine(FuzzedDataProvider& input) : input_(input) {}

  std::size_t writes = 0;

  bool IsOpen() const override { return open_; }
  bool Reopen() override {
    open_ = input_.ConsumeBool();
    return open_;
  }
  void Write(const std::uint8_t*, std::size_t) override {
    ++writes;
    pending_ = input_.ConsumeRandomLengthString(600);
    chunk_ = input_.ConsumeIntegralInRange<std::size_t>(1, 64);
    vanish_ = input_.ConsumeIntegralInRange<int>(0, 15) == 0;
  }
  LineRead Read(std::uint8_t* buffer, std::size_t capacity, SteadyClock::time_point) override {
    if (pending_.empty()) {
      if (!vanish_) return {LineReadStatus::kTimedOut, 0};
      open_ = false;
      return {LineReadStatus::kGone, 0};
    }
    const std::size_t count = std::min({capacity, chunk_, pending_.size()});
    std::copy_n(pending_.begin(), count, buffer);
    pending_.erase(0, count);
    return {LineReadStatus::kData, count};
  }
  void DiscardInput() override { pending_.clear(); }

 private:
  FuzzedDataProvider& input_;
  std::string pending_;
  std::size_t chunk_ = 32;
  bool vanish_ = false;
  bool open_ = true;
};

void DecodeAsEveryWidth(std::string_view reply) {
  Require(CheckReplyCode(reply) <= result::kLast, "reply code result in 0..24");
  for (ReplyKind kind :
       {ReplyKind::kByte, ReplyKind::kDword, ReplyKind::kStatusBlock, ReplyKind::kWrite}) {
    const ReplyVerdict verdict = MatchReply(reply, kind, 1);
    Require(verdict != ReplyVerdict::kAnswer || reply.find('!') != std::string_view::npos ||
                reply.find('$') != std::string_view::npos,
            "an answer is a read reply or a code");
  }
  std::array<std::uint8_t, 16> sentinel;
  sentinel.fill(0xA5);
  for (std::size_t width : {1u, 4u, 16u}) {
    std::array<std::uint8_t, 16> data = sentinel;
    const ExchangeResult r = ParseReadReply(reply, std::span(data.data(), width));
    Require(r == result::kOk || r == result::kNotUnderstood || r == result::kTooManyChars,
            "read reply parser gives 0, 1 or 3");
    Require(r == result::kOk || data == sentinel, "a refused reply leaves the data untouched");
    Require(std::equal(data.begin() + width, data.end(), sentinel.begin() + width),
            "the parser writes only the bytes of its width");
  }
}

// A well-formed answer of a fuzzed kind and form: the data (two, eight or
// thirty-two hex digits, none for a write), a "$" code in a read form, or
// a bare "$" code. No beginning of it may promise more bytes than it has,
// or the reader would sleep past its end.
void CheckShortestLength(FuzzedDataProvider& input) {
  constexpr ReplyKind kKinds[] = {ReplyKind::kByte, ReplyKind::kDword, ReplyKind::kStatusBlock,
                                  ReplyKind::kWrite};
  constexpr std::size_t kDigits[] = {2, 8, 32, 0};
  const int k = input.ConsumeIntegralInRange<int>(0, 3);
  const int form = input.ConsumeIntegralInRange<int>(0, 2);
  const auto hex = [&input](std::size_t count) {
    std::string digits;
    for (std::size_t i = 0; i < count; ++i)
      digits += "0123456789ABCDEF"[input.ConsumeIntegralInRange<int>(0, 15)];
    return digits;
  };
  std::string line;
  if (form == 2) {
    line = "$" + hex(4) + "\r";
  } else {
    const std::uint32_t address = input.ConsumeIntegralInRange<std::uint32_t>(0, 4'000'000'000);
    line = "!" + std::to_string(address) + ";" + (form == 0 ? hex(kDigits[k]) : "$" + hex(4)) +
           ";" + std::to_string(input.ConsumeIntegralInRange<int>(0, 65535)) + "\r";
  }
  for (std::size_t n = 0; n < line.size(); ++n)
    Require(ShortestReplyLength(std::string_view(line).substr(0, n), kKinds[k]) <= line.size(),
            "no beginning of an answer promises more than it has");
}

// Runs one operation; its out-value must stay as it was unless it succeeded.
ExchangeResult RunOperation(Link& link, int operation, MemorySpace space,
                            ParameterAddress address, std::uint32_t value) {
  switch (operation) {
    case 0: {
      std::uint8_t out = 0x5A;
      const ExchangeResult r = link.ReadByte(space, address, out);
      Require(r == result::kOk || out == 0x5A, "failed ReadByte leaves its value");
      return r;
    }
    case 1: {
      std::uint32_t out = 0xDEADBEEF;
      const ExchangeResult r = link.ReadDword(space, address, out);
      Require(r == result::kOk || out == 0xDEADBEEF, "failed ReadDword leaves its value");
      return r;
    }
    case 2: {
      StatusBlock block;
      block.fill(0x77);
      StatusBlock before = block;
      const ExchangeResult r = link.ReadStatusBlock(block);
      Require(r == result::kOk || block == before, "failed ReadStatusBlock leaves its block");
      return r;
    }
    case 3: return link.WriteByte(space, address, value);
    case 4: return link.WriteDword(space, address, value);
    case 5: return link.WriteByteChecked(space, address, value);
    default: return link.WriteFloatChecked(space, address, std::bit_cast<float>(value));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  DecodeAsEveryWidth(std::string_view(reinterpret_cast<const char*>(bytes), size));

  FuzzedDataProvider input(bytes, size);
  CheckShortestLength(input);
  const int operation = input.ConsumeIntegralInRange<int>(0, 6);
  const std::uint32_t attempts = input.ConsumeIntegralInRange<std::uint32_t>(0, 9);
  const MemorySpace space = input.ConsumeIntegralInRange<MemorySpace>(0, 3);
  const ParameterAddress address = input.ConsumeIntegral<ParameterAddress>();
  const std::uint32_t value = input.ConsumeIntegral<std::uint32_t>();

  FuzzedLine line(input);
  // Speed 0: a line that never waits is not paced by wire time.
  Link link(line, LinkParams{1, attempts, 1000, 0}, nullptr);
  const ExchangeResult r = RunOperation(link, operation, space, address, value);

  Require(r <= result::kLast, "operation result in 0..24");
  const bool status_block = operation == 2;
  if (!status_block && space != 1 && space != 2)
    Require(r == result::kAddressTooBig && line.writes == 0, "bad space refused before sending");
  // Each exchange makes its attempts and asks crossed answers again at most
  // once more than that.
  const std::size_t tries = link.Params().attempts;
  const std::size_t per_exchange = 2 * tries + 1;
  const bool checked = operation >= 5;
  Require(line.writes <= (checked ? 2 * tries * per_exchange : per_exchange),
          "no more requests than attempts");
  return 0;
}
