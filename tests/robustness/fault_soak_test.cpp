// Thousands of exchanges with the instrument while a fifth of its replies
// are damaged, in every way the simulator can damage them: every operation
// ends with 0 and the right value, or (when every attempt was hit) with the
// error of the damage; retries recover; no operation outlasts its time-outs.

#include <gtest/gtest.h>

#include <bit>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>
#include <map>
#include <random>

#include "lib/fault_plan.h"
#include "robustness/link_fixture.h"
#include "settings/parameter_map.h"

namespace zrm::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kExchanges = 2000;
constexpr std::uint32_t kAttempts = 3;
// One attempt: the time-out, plus room for a loaded machine.
constexpr milliseconds kAttemptBound{1000 + 250};
// Operations after which the device vanishes once (the adapter is pulled).
constexpr std::array<int, 2> kVanishAt = {300, 900};

// The damage mix: 20 % of the replies in all. The kinds that cost a whole
// time-out (no reply, a reply without its CR) are kept rare so the soak
// stays within a minute.
std::vector<sim::Fault> FaultMix() {
  const auto share = [](sim::FaultKind kind, double percent, unsigned argument = 0) {
    sim::Fault fault{kind, {}, argument};
    fault.when.by = sim::FaultWhen::By::kShare;
    fault.when.share = percent / 100.0;
    return fault;
  };
  using K = sim::FaultKind;
  return {share(K::kNoReply, 0.5),         share(K::kCutReply, 0.5),
          share(K::kGarbageBefore, 3, 70),  // pushes the "!" beyond index 64
          share(K::kLongReply, 3),         share(K::kErrorCode, 3, 0x000D),
          share(K::kDelay, 3, 30),         share(K::kNulBytes, 3, 2),
          share(K::kWrongValue, 4)};
}

struct Parameter {
  ParameterAddress address;
  bool dword;
};

std::vector<Parameter> ChannelParameters() {
  std::vector<Parameter> all;
  for (const ChannelParameter& p : kChannelParameters)
    for (int k = 0; k < 2; ++k)
      all.push_back({ChannelAddress(p, k), p.width == ParameterWidth::kFloat});
  return all;
}

// Whether the damage of one frame fails the attempt it answers. Junk before
// a reply pushes the "!" of a read beyond index 64 but leaves a write's "$"
// code readable; a wrong stored value is seen only by a read-back.
bool Disrupts(const sim::FaultEffects& e, const sim::ReceivedFrame& frame, bool checked_write) {
  const bool read = frame.fields.command == 37u;
  return e.vanish || e.no_reply || e.cut || e.long_reply || e.code || e.nul ||
         (e.garbage && read) || (e.wrong_value && !read && checked_write);
}

std::string KindsOf(const sim::FaultEffects& e) {
  std::string kinds;
  if (e.no_reply) kinds += "noreply ";
  if (e.cut) kinds += "cut ";
  if (e.garbage) kinds += "garbage ";
  if (e.long_reply) kinds += "long ";
  if (e.code) kinds += "code ";
  if (e.delay.count() > 0) kinds += "delay ";
  if (e.nul) kinds += "nul ";
  if (e.wrong_value) kinds += "wrong ";
  return kinds;
}

enum class Op {
  kReadByte,
  kReadDword,
  kReadStatus,
  kWriteByte,
  kWriteDword,
  kWriteByteChecked,
  kWriteFloatChecked
};
constexpr int kOpCount = 7;

class FaultSoak : public LinkAgainstInstrument {
 protected:
  void PinStatusBlock() {
    for (int channel = 1; channel <= 2; ++channel) {
      instrument_->Now().PinChannelValue(channel, 20.0f + channel);
      instrument_->Now().PinStatusCode(channel, 0);
    }
  }

  // Runs one operation and checks its value against the instrument's memory
  // when it succeeded.
  ExchangeResult Run(Op op, const Parameter& p, std::mt19937& random) {
    sim::Simulator& device = instrument_->Now();
    const std::uint32_t byte = random() % 200;
    const float real = static_cast<float>(random() % 100000) / 8.0f;
    switch (op) {
      case Op::kReadByte: {
        std::uint8_t value = 0;
        const ExchangeResult r = link_->ReadByte(2, p.address, value);
        if (r == result::kOk) {
          EXPECT_EQ(value, device.Byte(2, p.address)) << p.address;
        }
        return r;
      }
      case Op::kReadDword: {
        std::uint32_t bits = 0;
        const ExchangeResult r = link_->ReadDword(2, p.address, bits);
        if (r == result::kOk) {
          EXPECT_EQ(std::bit_cast<float>(bits), device.Float(p.address)) << p.address;
        }
        return r;
      }
      case Op::kReadStatus: {
        StatusBlock block{};
        const ExchangeResult r = link_->ReadStatusBlock(block);
        const sim::StatusBytes now = device.StatusBlockNow();
        if (r == result::kOk) {
          EXPECT_TRUE(std::equal(block.begin(), block.end(), now.begin()));
        }
        return r;
      }
      case Op::kWriteByte: return link_->WriteByte(2, p.address, byte);
      case Op::kWriteDword:
        return link_->WriteDword(2, p.address, std::bit_cast<std::uint32_t>(real));
      case Op::kWriteByteChecked: {
        const ExchangeResult r = link_->WriteByteChecked(2, p.address, byte);
        if (r == result::kOk) {
          EXPECT_EQ(device.Byte(2, p.address), byte) << p.address;
        }
        return r;
      }
      case Op::kWriteFloatChecked: {
        const ExchangeResult r = link_->WriteFloatChecked(2, p.address, real);
        if (r == result::kOk) {
          EXPECT_NEAR(*device.Float(p.address), real, 0.01) << p.address;
        }
        return r;
      }
    }
    return result::kOk;
  }
};

TEST_F(FaultSoak, EveryOperationEndsRightAndRetriesRecover) {
  sim::SimulatorOptions options;
  options.turnaround = milliseconds(0);
  options.faults = FaultMix();
  options.seed = 2024;
  Connect(options, kAttempts);
  PinStatusBlock();

  const std::vector<Parameter> parameters = ChannelParameters();
  std::mt19937 random(7);
  std::size_t exchanges = 0, faulted = 0, operations = 0, recovered = 0, failed = 0;
  std::map<std::string, std::size_t> by_kind;
  const auto soak_start = Clock::now();

  for (int n = 0; exchanges < kExchanges; ++n) {
    const bool vanish = std::find(kVanishAt.begin(), kVanishAt.end(), n) != kVanishAt.end();
    if (vanish) {
      sim::Fault gone{sim::FaultKind::kVanish, {}, 0};
      gone.when.request_number = instrument_->Now().RequestsReceived() + 1;
      instrument_->Now().AddFault(gone);
    }
    std::vector<Parameter> pool;
    const Op op = static_cast<Op>(random() % kOpCount);
    const bool dword =
        op == Op::kReadDword || op == Op::kWriteDword || op == Op::kWriteFloatChecked;
    for (const Parameter& p : parameters)
      if (p.dword == dword) pool.push_back(p);
    const Parameter p = pool[random() % pool.size()];
    const bool checked = op == Op::kWriteByteChecked || op == Op::kWriteFloatChecked;

    instrument_->Now().ClearFrames();
    const auto start = Clock::now();
    const ExchangeResult r = Run(op, p, random);
    const auto took = Clock::now() - start;
    ++operations;

    // The frames of this operation and the damage each one got.
    // `disrupted` holds, per frame, whether its damage failed its attempt.
    const std::vector<sim::ReceivedFrame> frames = instrument_->Now().Frames();
    std::vector<bool> disrupted;
    std::size_t wrong_writes = 0;
    std::string trace;
    for (const sim::ReceivedFrame& frame : frames) {
      const sim::FaultEffects e =
          sim::SelectFaults(options.faults, frame.number, frame.fields.parameter, options.seed);
      ++exchanges;
      const std::string kinds = KindsOf(e);
      if (!kinds.empty()) ++faulted, ++by_kind[kinds];
      trace += "  request " + std::to_string(frame.number) + ": " + kinds + "| " +
               frame.raw.substr(4) + " -> " + frame.reply + "\n";
      disrupted.push_back(Disrupts(e, frame, checked));
      wrong_writes += e.wrong_value && frame.fields.command == 38u;
    }
    const bool any_hit = std::find(disrupted.begin(), disrupted.end(), true) != disrupted.end();

    const auto bound = kAttemptBound * (checked ? 2 * kAttempts * kAttempts : kAttempts);
    EXPECT_LT(took, bound) << "operation " << n << " outlasted its time-outs";
    if (vanish) {
      // The pulled adapter ends the operation at once, not after its time-outs.
      EXPECT_EQ(r, result::kNoAnswer) << "operation " << n;
      EXPECT_LT(took, milliseconds(1000));
      BringBack();
      PinStatusBlock();
      options.seed += 1;
      ++failed;
      continue;
    }
    if (r == result::kOk) {
      recovered += any_hit;
      continue;
    }
    ++failed;
    // A failure is right only when the exchange that ended it was damaged in
    // every attempt, or a checked write stored a wrong value in every pass.
    const bool last_exhausted =
        disrupted.size() >= kAttempts &&
        std::all_of(disrupted.end() - kAttempts, disrupted.end(), [](bool d) { return d; });
    const bool every_pass_wrong = r == result::kReadBackMismatch && wrong_writes == kAttempts;
    EXPECT_TRUE(last_exhausted || every_pass_wrong)
        << "operation " << n << " failed with " << r
        << " although an attempt got a sound reply\n" << trace;
    const bool damage_result = r == result::kTooManyChars || r == result::kNoAnswer ||
                               r == result::kNotUnderstood || r == result::kChecksum ||
                               (checked && r == result::kReadBackMismatch);
    EXPECT_TRUE(damage_result) << "operation " << n << " ended with " << r;
    if (::testing::Test::HasFailure()) break;
  }

  const auto seconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - soak_start).count() / 1000.0;
  std::cout << "soak: " << exchanges << " exchanges, " << faulted << " damaged replies ("
            << 100.0 * static_cast<double>(faulted) / static_cast<double>(exchanges) << " %), "
            << operations << " operations, " << recovered << " recovered by a retry, " << failed
            << " failed (" << kVanishAt.size() << " by a vanished device), " << seconds << " s\n";
  for (const auto& [kinds, count] : by_kind) std::cout << "  " << kinds << ": " << count << "\n";

  EXPECT_GE(exchanges, kExchanges);
  EXPECT_GE(static_cast<double>(faulted), 0.17 * static_cast<double>(exchanges));
  EXPECT_GT(recovered, exchanges / 20);
}

}  // namespace
}  // namespace zrm::test
