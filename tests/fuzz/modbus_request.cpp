// Fuzzes the gateway's Modbus TCP request handling with whatever a client
// may send: a stream of requests cut anywhere, every function code, counts
// and addresses out of range, lengths that lie. It never crashes; every
// reply is a well-formed Modbus TCP frame echoing the request's transaction,
// protocol and unit with the function or its exception; a write is only
// asked for when writes are on, of an allowed parameter, for two registers
// of one float; an unreachable unit gets 0x0B for any function it could
// hold, and a code with the high bit set is no function (0x01) for any unit.

#include "gateway/modbus_request.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_check.h"

namespace {

using namespace zrm;
using fuzz::Require;

// Unit 1 answers with values and two parameters read; unit 2 is offline.
class TableBus : public BusAccess {
 public:
  std::optional<BusSnapshot> SnapshotOf(std::size_t, std::uint32_t address) const override {
    BusSnapshot s;
    s.address = address;
    s.availability = address == 1 ? BusAvailability::kOnline : BusAvailability::kOffline;
    s.has_values = true;
    s.identity = {true, 1, 47, 12345, 0x4A};
    s.last_answer = std::chrono::steady_clock::now();
    return s;
  }
  std::optional<float> ParameterValue(std::size_t, std::uint32_t,
                                      BusParameter parameter) const override {
    if (parameter == BusParameter::kCh1Th1 || parameter == BusParameter::kCh2His2) return 1.5f;
    return std::nullopt;
  }
  void RequestWrite(std::size_t, std::uint32_t, BusParameter, float, const std::string&,
                    WriteDone) override {}
  std::vector<BusLineStats> LineStats() const override { return {}; }
};

void CheckAnswer(std::span<const std::uint8_t> request, const ModbusAnswer& answer,
                 const WriteConfig& write) {
  if (answer.write) {
    Require(answer.reply.empty(), "a write's reply waits for the write");
    Require(write.allow && WriteAllowed(write, answer.write->parameter),
            "only allowed parameters are written");
    Require(request[7] == 0x10 && request[11] == 2, "one float, two registers, function 16");
    Require(request[6] == 1, "only the reachable unit is written");
    return;
  }
  if (answer.reply.empty()) {
    Require(request.size() < 8, "only a request without a function goes unanswered");
    return;
  }
  const std::vector<std::uint8_t>& r = answer.reply;
  Require(r.size() >= 9 && r.size() <= 260, "a reply fits a Modbus TCP frame");
  Require(std::equal(r.begin(), r.begin() + 4, request.begin()), "transaction and protocol echoed");
  Require(((r[4] << 8) | r[5]) == static_cast<int>(r.size()) - 6, "the length field is true");
  Require(r[6] == request[6], "the unit echoed");
  Require((r[7] & 0x7F) == (request[7] & 0x7F), "the function echoed");
  if (r[7] & 0x80) Require(r.size() == 9, "an exception is one code");
  if (request[7] >= 0x80) {
    Require(r.size() == 9 && r[8] == kIllegalFunction, "no function: 0x01");
  } else if (request[6] != 1) {
    Require(r[7] & 0x80 && r[8] == kTargetNoResponse, "unreachable: 0x0B");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  WriteConfig write;
  write.allow = input.ConsumeBool();
  write.parameters = {BusParameter::kCh1Th1, BusParameter::kCh2His1};
  GatewayConfig config;
  config.lines = {{{"/dev/a", 9600, {1, 2}}, 0, "LINE1"}};
  config.modbus = ModbusConfig{};
  const ModbusUnits units = UnitsOf(config, *config.modbus);
  const TableBus bus;
  const std::vector<std::uint8_t> stream = input.ConsumeRemainingBytes<std::uint8_t>();
  std::span<const std::uint8_t> rest(stream);
  while (true) {
    const std::optional<std::size_t> length = RequestLength(rest);
    if (!length || *length == 0 || rest.size() < *length) break;
    Require(*length >= 8 && *length <= 260, "a framed request holds a unit and fits the frame");
    const std::span<const std::uint8_t> request = rest.first(*length);
    CheckAnswer(request,
                AnswerRequest(request, units, bus, write, std::chrono::steady_clock::now()), write);
    rest = rest.subspan(*length);
  }
  return 0;
}
