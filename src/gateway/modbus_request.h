#pragma once
// The Modbus TCP requests the gateway answers, taken apart and answered
// from the snapshots. libmodbus's own reply answers for a single device
// from one register table; a gateway answers for many, with exception 0x0B
// for an instrument it cannot reach, so the requests are read here.

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gateway/bus_access.h"
#include "gateway/gateway_config.h"

namespace zrm {

// Exception codes the gateway answers with.
inline constexpr std::uint8_t kIllegalFunction = 0x01;
inline constexpr std::uint8_t kIllegalAddress = 0x02;
inline constexpr std::uint8_t kIllegalValue = 0x03;
inline constexpr std::uint8_t kDeviceFailure = 0x04;
inline constexpr std::uint8_t kDeviceBusy = 0x06;  // the line's write queue is full
inline constexpr std::uint8_t kTargetNoResponse = 0x0B;

// The instrument behind a unit id.
struct ModbusUnit {
  std::size_t line = 0;
  std::uint32_t address = 0;
  std::chrono::milliseconds stale_after{0};  // an older answer is not served
};
using ModbusUnits = std::map<std::uint8_t, ModbusUnit>;

// Every instrument the listener `listener` serves, by its unit id.
ModbusUnits UnitsOf(const GatewayConfig& config, const ModbusConfig& listener);

// The length of the whole request at the start of `received` (header
// included) once its header is in; 0 while the header is incomplete; empty
// for a header no Modbus TCP client sends (another protocol id, a length
// outside 2..254): the connection is dropped then.
std::optional<std::size_t> RequestLength(std::span<const std::uint8_t> received);

// A write the request asks for; its reply waits for the outcome.
struct ModbusWrite {
  std::size_t line = 0;
  std::uint32_t address = 0;
  BusParameter parameter = BusParameter::kCh1Th1;
  float value = 0;
};

struct ModbusAnswer {
  std::vector<std::uint8_t> reply;  // empty while `write` runs
  std::optional<ModbusWrite> write;
  std::string refusal;  // why a write was refused, for the log
};

// Answers one whole request (header included) at `now`.
ModbusAnswer AnswerRequest(std::span<const std::uint8_t> request, const ModbusUnits& units,
                           const BusAccess& bus, const WriteConfig& write,
                           std::chrono::steady_clock::time_point now);

// The reply to a write request once the write ended: the request's echo,
// 0x03 when the checks before writing refused the value (nothing sent), or
// 0x04 when the instrument did not take it.
std::vector<std::uint8_t> WriteReply(std::span<const std::uint8_t> request,
                                     const BusWriteOutcome& outcome);

}  // namespace zrm
