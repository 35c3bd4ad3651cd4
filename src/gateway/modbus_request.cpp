#include "gateway/modbus_request.h"

#include "gateway/bus_parameter_names.h"
#include "gateway/gateway_texts.h"
#include "gateway/modbus_registers.h"

namespace zrm {
namespace {

namespace t = gateway_texts;

constexpr std::size_t kHeaderSize = 7;  // transaction, protocol, length, unit
constexpr std::uint8_t kReadHolding = 0x03;
constexpr std::uint8_t kReadInput = 0x04;
constexpr std::uint8_t kWriteSingle = 0x06;
constexpr std::uint8_t kWriteMultiple = 0x10;
constexpr std::uint16_t kMaxReadCount = 125;
constexpr std::uint16_t kMaxWriteCount = 123;

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t word) {
  out.push_back(static_cast<std::uint8_t>(word >> 8));
  out.push_back(static_cast<std::uint8_t>(word & 0xFF));
}

// The reply with the request's transaction, protocol and unit around `pdu`.
std::vector<std::uint8_t> Reply(std::span<const std::uint8_t> request,
                                const std::vector<std::uint8_t>& pdu) {
  std::vector<std::uint8_t> out(request.begin(), request.begin() + 4);
  PutWord(out, static_cast<std::uint16_t>(pdu.size() + 1));
  out.push_back(request[6]);
  out.insert(out.end(), pdu.begin(), pdu.end());
  return out;
}

std::vector<std::uint8_t> Exception(std::span<const std::uint8_t> request, std::uint8_t code) {
  return Reply(request, {static_cast<std::uint8_t>(request[7] | 0x80), code});
}

std::vector<std::uint8_t> Registers(std::span<const std::uint8_t> request,
                                    const std::vector<std::uint16_t>& values) {
  std::vector<std::uint8_t> pdu = {request[7], static_cast<std::uint8_t>(values.size() * 2)};
  for (std::uint16_t v : values) PutWord(pdu, v);
  return Reply(request, pdu);
}

bool InHolding(std::uint32_t first, std::uint32_t count) {
  return first >= kFirstHoldingRegister &&
         first + count <= kFirstHoldingRegister + kHoldingRegisterCount;
}

ModbusAnswer ReadInput(std::span<const std::uint8_t> request, const BusSnapshot& snapshot,
                       std::uint16_t first, std::uint16_t count,
                       std::chrono::steady_clock::time_point now) {
  if (first + count > kInputRegisterCount) return {Exception(request, kIllegalAddress), {}, {}};
  const auto all = InputRegisters(snapshot, now);
  return {Registers(request,
                    std::vector<std::uint16_t>(all.begin() + first, all.begin() + first + count)),
          {},
          {}};
}

ModbusAnswer ReadHolding(std::span<const std::uint8_t> request, const ModbusUnit& unit,
                         const BusAccess& bus, std::uint16_t first, std::uint16_t count) {
  if (!InHolding(first, count)) return {Exception(request, kIllegalAddress), {}, {}};
  std::vector<std::uint16_t> values;
  for (std::uint32_t r = first; r < std::uint32_t{first} + count; ++r) {
    const std::uint32_t offset = r - kFirstHoldingRegister;
    const std::optional<float> value =
        bus.ParameterValue(unit.line, unit.address, kAllBusParameters[offset / 2]);
    // A value never read is no value to give: the instrument has not told it.
    if (!value) return {Exception(request, kTargetNoResponse), {}, {}};
    values.push_back(FloatRegisters(*value)[offset % 2]);
  }
  return {Registers(request, values), {}, {}};
}

ModbusAnswer WriteOne(std::span<const std::uint8_t> request, const ModbusUnit& unit,
                      const WriteConfig& write, std::uint16_t first, std::uint16_t count,
                      std::span<const std::uint8_t> data) {
  if (!InHolding(first, count)) return {Exception(request, kIllegalAddress), {}, {}};
  if (count != 2 || (first - kFirstHoldingRegister) % 2 != 0)
    return {Exception(request, kIllegalValue), {}, t::kHalfFloat};
  const BusParameter parameter = kAllBusParameters[(first - kFirstHoldingRegister) / 2];
  if (!WriteAllowed(write, parameter)) {
    const std::string why = write.allow
                                ? t::kParameterNotAllowed + std::string(BusParameterName(parameter))
                                : std::string(t::kWritesOff);
    return {Exception(request, kIllegalValue), {}, why};
  }
  const float value = FloatFromRegisters(Word(data, 5), Word(data, 7));
  return {{}, ModbusWrite{unit.line, unit.address, parameter, value}, {}};
}

// The function's own part of the request, after the unit was found servable.
ModbusAnswer Answer(std::span<const std::uint8_t> request, const ModbusUnit& unit,
                    const BusSnapshot& snapshot, const BusAccess& bus, const WriteConfig& write,
                    std::chrono::steady_clock::time_point now) {
  const std::uint8_t function = request[7];
  const std::span<const std::uint8_t> data = request.subspan(8);
  const bool read = function == kReadInput || function == kReadHolding;
  if (!read && function != kWriteSingle && function != kWriteMultiple)
    return {Exception(request, kIllegalFunction), {}, {}};
  if (data.size() < 4) return {Exception(request, kIllegalValue), {}, {}};
  const std::uint16_t first = Word(data, 0);
  if (function == kWriteSingle) {
    if (data.size() != 4) return {Exception(request, kIllegalValue), {}, {}};
    if (!InHolding(first, 1)) return {Exception(request, kIllegalAddress), {}, {}};
    return {Exception(request, kIllegalValue), {}, t::kHalfFloat};
  }
  const std::uint16_t count = Word(data, 2);
  if (read) {
    if (data.size() != 4 || count == 0 || count > kMaxReadCount)
      return {Exception(request, kIllegalValue), {}, {}};
    return function == kReadInput ? ReadInput(request, snapshot, first, count, now)
                                  : ReadHolding(request, unit, bus, first, count);
  }
  if (count == 0 || count > kMaxWriteCount || data.size() < 5 || data[4] != count * 2 ||
      data.size() != 5u + data[4])
    return {Exception(request, kIllegalValue), {}, {}};
  return WriteOne(request, unit, write, first, count, data);
}

// The refusals of the checks before writing (their questions answered No, a
// value that is no number, an instrument not polled): nothing was written.
bool RefusedBeforeSending(ExchangeResult r) {
  return r == result::kStoppedToCorrect || r == result::kStoppedToClarify ||
         r == result::kNotAFloat || r == result::kParameterNotFound;
}

}  // namespace

ModbusUnits UnitsOf(const GatewayConfig& config, const ModbusConfig& listener) {
  ModbusUnits units;
  for (std::size_t i = 0; i < config.lines.size(); ++i) {
    const GatewayLine& line = config.lines[i];
    if (ListenerOf(config, line) != listener) continue;
    const auto stale_after = StaleAfter(config.timing, line.bus.speed, line.bus.addresses.size());
    for (std::uint32_t address : line.bus.addresses)
      units[static_cast<std::uint8_t>(line.unit_offset + address)] = {i, address, stale_after};
  }
  return units;
}

std::optional<std::size_t> RequestLength(std::span<const std::uint8_t> received) {
  if (received.size() < 6) return 0;
  const std::uint16_t length = Word(received, 4);
  if (Word(received, 2) != 0 || length < 2 || length > 254) return std::nullopt;
  return 6u + length;
}

ModbusAnswer AnswerRequest(std::span<const std::uint8_t> request, const ModbusUnits& units,
                           const BusAccess& bus, const WriteConfig& write,
                           std::chrono::steady_clock::time_point now) {
  if (request.size() < kHeaderSize + 1) return {};
  // An exception code as a function code is no request of any unit.
  if (request[7] >= 0x80) return {Exception(request, kIllegalFunction), {}, {}};
  const auto unit = units.find(request[6]);
  if (unit == units.end()) return {Exception(request, kTargetNoResponse), {}, {}};
  const std::optional<BusSnapshot> snapshot =
      bus.SnapshotOf(unit->second.line, unit->second.address);
  if (!snapshot || !Servable(*snapshot, now, unit->second.stale_after))
    return {Exception(request, kTargetNoResponse), {}, {}};
  return Answer(request, unit->second, *snapshot, bus, write, now);
}

std::vector<std::uint8_t> WriteReply(std::span<const std::uint8_t> request,
                                     const BusWriteOutcome& outcome) {
  if (outcome.result == result::kOk) {
    const std::vector<std::uint8_t> pdu(request.begin() + 7, request.begin() + 12);
    return Reply(request, pdu);
  }
  if (outcome.busy) return Exception(request, kDeviceBusy);
  return Exception(request, RefusedBeforeSending(outcome.result) ? kIllegalValue : kDeviceFailure);
}

}  // namespace zrm
