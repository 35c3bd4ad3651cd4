#include "gateway/ha_discovery.h"

#include "gateway/gateway_texts.h"
#include "gateway/json_text.h"
#include "gateway/state_json.h"
#include "settings/firmware_version.h"

namespace zrm {
namespace {

// Home Assistant's ids take letters, digits, "_" and "-" only.
std::string NodeId(std::string text) {
  for (char& c : text) {
    const bool kept =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    if (!kept) c = '_';
  }
  return text;
}

struct Sensor {
  std::string key;        // "ch1_value"
  std::string name;       // shown in Home Assistant
  std::string template_;  // the state JSON's field
};

}  // namespace

std::vector<MqttMessage> DiscoveryMessages(const std::string& prefix, const BusSnapshot& s) {
  const std::string id = InstrumentId(s.identity);
  const std::string base = prefix + "/" + id;
  const std::string node = NodeId(prefix + "_" + id);
  const int model = DeviceTypeNumber(s.identity.device_type);
  const std::string device =
      "{\"identifiers\": [" + JsonString(node) +
      "], \"name\": " + JsonString("ZRM" + std::to_string(model) + " " + id) +
      ", \"model\": " + JsonString(std::to_string(model)) +
      ", \"sw_version\": " + JsonString(FirmwareVersionText(s.identity.firmware_version)) + "}";
  std::vector<Sensor> sensors;
  const int channels = model == 4813 ? 2 : 1;
  for (int ch = 1; ch <= channels; ++ch) {
    const std::string c = "ch" + std::to_string(ch);
    sensors.push_back(
        {c + "_value", gateway_texts::kChannelSensor + std::to_string(ch), c + ".value"});
    sensors.push_back(
        {c + "_status", gateway_texts::kStatusSensor + std::to_string(ch), c + ".status_text"});
  }
  std::vector<MqttMessage> messages;
  for (const Sensor& sensor : sensors) {
    messages.push_back(
        {"homeassistant/sensor/" + node + "/" + sensor.key + "/config",
         "{\"name\": " + JsonString(sensor.name) +
             ", \"unique_id\": " + JsonString(node + "_" + sensor.key) +
             ", \"state_topic\": " + JsonString(base + "/state") +
             ", \"value_template\": " + JsonString("{{ value_json." + sensor.template_ + " }}") +
             ", \"availability_topic\": " + JsonString(base + "/availability") +
             ", \"device\": " + device + "}"});
  }
  return messages;
}

}  // namespace zrm
