#include "lib/instrument.h"

#include <bit>
#include <cmath>

#include "lib/fault_plan.h"
#include "lib/parameter_table.h"
#include "lib/reply_forms.h"
#include "lib/request_parser.h"

namespace zrm::sim {
namespace {

constexpr std::uint32_t kRestartValue = 1;

std::uint32_t RoundedFloatBits(std::uint32_t bits, int decimals) {
  const float value = std::bit_cast<float>(bits);
  if (decimals < 0 || !std::isfinite(value)) return bits;
  const double scale = std::pow(10.0, decimals);
  return std::bit_cast<std::uint32_t>(static_cast<float>(std::round(value * scale) / scale));
}

// A value that differs from the one sent, far beyond the read-back tolerance.
std::uint32_t Corrupted(const ParameterKey& key, std::uint32_t value) {
  if (key.width == Width::kByte) return value ^ 0x01u;
  const float f = std::bit_cast<float>(value);
  if (!std::isfinite(f)) return value ^ 0x00400000u;
  return std::bit_cast<std::uint32_t>(f + 1.0f);
}

std::uint32_t DataValue(const std::string& hex) {
  return static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
}

}  // namespace

Instrument::Instrument(InstrumentSetup setup, Clock::time_point origin)
    : setup_(std::move(setup)), status_(origin) {}

void Instrument::BeginSilence(Clock::time_point until) {
  silent_until_ = until;
  status_.Reset();
}

Response Instrument::Serve(ReceivedFrame& frame, Clock::time_point now) {
  const ParsedFrame parsed = ParseFrame(frame.raw, setup_.net_address);
  frame.checksum = parsed.checksum;
  frame.fields = parsed.fields;
  const FaultEffects faults =
      SelectFaults(setup_.faults, frame.number, parsed.fields.parameter, setup_.seed);
  Response response;
  if (faults.vanish) {
    response.vanish = true;
    return response;
  }
  if (!parsed.addressed_here || Silent(now) || faults.no_reply) return response;
  if (faults.code) {
    response.reply = CodeReply(*faults.code);
  } else if (parsed.refusal) {
    response.reply = CodeReply(*parsed.refusal);
  } else {
    response.reply = Execute(parsed.fields, faults.wrong_value, response.restart, now);
  }
  response.reply = ShapeReply(std::move(response.reply), faults);
  response.delay = faults.delay;
  return response;
}

std::string Instrument::Execute(const RequestFields& fields, bool wrong_value, bool& restart,
                                Clock::time_point now) {
  const ParameterKey& key = *fields.parameter;
  if (*fields.command == 37) return Read(key, now);
  return Write(key, DataValue(fields.data), wrong_value, restart);
}

std::string Instrument::Read(const ParameterKey& key, Clock::time_point now) {
  if (key == kStatusBlockKey) {
    std::string hex;
    for (std::uint8_t byte : status_.Block(setup_.memory, now)) hex += HexBytes(byte, 1);
    return ReadReply(setup_.net_address, hex);
  }
  const ParameterInfo* info = FindParameter(key);
  if (info == nullptr) return CodeReply(code::kNoParameter);
  const std::uint32_t value =
      info->access == Access::kCommand ? 0 : setup_.memory.Value(key).value_or(0);
  return ReadReply(setup_.net_address, HexBytes(value, WidthBytes(key.width)));
}

std::string Instrument::Write(const ParameterKey& key, std::uint32_t value, bool wrong_value,
                              bool& restart) {
  const ParameterInfo* info = FindParameter(key);
  if (info == nullptr || info->access == Access::kReadOnly) return CodeReply(code::kNoParameter);
  if (info->access == Access::kCommand) {
    restart = value == kRestartValue;
    // Counted as soon as it is taken, before the reply goes out, so that a
    // client that has its reply sees the count.
    if (restart) ++restarts_;
    return CodeReply(code::kDone);
  }
  if (key.width == Width::kDword) value = RoundedFloatBits(value, setup_.float_decimals);
  if (wrong_value) value = Corrupted(key, value);
  setup_.memory.SetValue(key, value);
  return CodeReply(code::kDone);
}

}  // namespace zrm::sim
