#include "gateway/state_json.h"

#include <charconv>

#include "bus/bus_parameter.h"
#include "gateway/bus_parameter_names.h"
#include "gateway/json_text.h"
#include "monitor/current_values.h"
#include "monitor/monitor_texts.h"
#include "settings/instrument_identity_text.h"

namespace zrm {
namespace {

const char* Bool(bool on) { return on ? "true" : "false"; }

std::string Bits(std::uint8_t byte, int first, int count) {
  std::string out = "[";
  for (int i = 0; i < count; ++i) {
    if (i > 0) out += ", ";
    out += Bool((byte >> (first + i)) & 1);
  }
  return out + "]";
}

std::string ChannelJson(const BusChannel& ch) {
  return "{\"value\": " + JsonFloat(ch.value) + ", \"status\": " + std::to_string(ch.status) +
         ", \"status_text\": " + JsonString(StatusText(ch.status)) +
         ", \"sp1\": " + Bool(ch.flags & kSetpoint1Bit) +
         ", \"sp2\": " + Bool(ch.flags & kSetpoint2Bit) +
         ", \"break\": " + Bool(ch.flags & kBreakBit) + "}";
}

}  // namespace

std::string InstrumentId(const BusIdentity& identity) {
  return SerialText(identity.prefix, identity.serial_number);
}

int DeviceTypeNumber(std::int32_t device_type) {
  const std::string model = ModelNumber(device_type);
  int number = device_type;
  std::from_chars(model.data(), model.data() + model.size(), number);
  return number;
}

std::string StateJson(const BusSnapshot& s) {
  return "{\"time\": " + JsonString(LocalIsoTime(s.last_answer_wall)) +
         ", \"ch1\": " + ChannelJson(s.channel[0]) + ", \"ch2\": " + ChannelJson(s.channel[1]) +
         ", \"relays\": " + Bits(s.relay_byte, 0, 2) + ", \"keys\": " + Bits(s.input_byte, 0, 5) +
         ", \"encoder\": " + Bits(s.input_byte, 5, 2) +
         (s.unfinished_write ? ", \"unfinished_write\": true}" : "}");
}

std::string InfoJson(const BusSnapshot& s, const std::string& line_device) {
  const BusIdentity& id = s.identity;
  return "{\"type\": " + std::to_string(DeviceTypeNumber(id.device_type)) +
         ", \"type_name\": " + JsonString(DeviceTypeName(id.device_type)) +
         ", \"serial\": " + JsonString(InstrumentId(id)) +
         ", \"firmware\": " + JsonString(FirmwareVersionText(id.firmware_version)) +
         InfoPlaceJson(s.address, line_device);
}

std::string InfoPlaceJson(std::uint32_t address, const std::string& line_device) {
  return ", \"address\": " + std::to_string(address) + ", \"line\": " + JsonString(line_device) +
         "}";
}

std::string ParametersJson(const std::array<std::optional<float>, 8>& values) {
  std::string out = "{";
  for (std::size_t i = 0; i < kBusParameters.size(); ++i)
    out += (i == 0 ? "" : ", ") + JsonString(BusParameterName(kBusParameters[i])) + ": " +
           (values[i] ? JsonFloat(*values[i]) : std::string("null"));
  return out + "}";
}

std::string WriteResultJson(const BusWriteOutcome& outcome) {
  if (outcome.result == result::kOk) return "{\"ok\": true}";
  return "{\"ok\": false, \"error\": " + std::to_string(static_cast<unsigned>(outcome.result)) +
         ", \"message\": " + JsonString(outcome.message) + "}";
}

}  // namespace zrm
