#include "gateway/ha_discovery.h"

#include <algorithm>
#include <cmath>

#include "bus/bus_parameter.h"
#include "gateway/bus_parameter_names.h"
#include "gateway/gateway_texts.h"
#include "gateway/json_text.h"
#include "gateway/state_json.h"
#include "settings/check_channels.h"
#include "settings/instrument_identity_text.h"
#include "settings/sensor_types.h"

namespace zrm {
namespace {

namespace t = gateway_texts;

// Home Assistant's ids take letters, digits, "_" and "-" only.
std::string NodeId(std::string text) {
  for (char& c : text) {
    const bool kept =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    if (!kept) c = '_';
  }
  return text;
}

std::string GatewayNode(const std::string& prefix) { return NodeId(prefix + "_gateway"); }

std::string InstrumentNode(const std::string& prefix, const std::string& id) {
  return NodeId(prefix + "_" + id);
}

// One entity: its component, its object id ("ch1_value"), its name and the
// JSON fields that are its own.
struct Entity {
  const char* component;
  std::string key;
  std::string name;
  std::string fields;
};

std::string Field(const char* key, const std::string& json) {
  return std::string(", \"") + key + "\": " + json;
}

// An "ON"/"OFF" binary sensor on a boolean of the state message.
Entity Flag(const std::string& state, const std::string& key, const std::string& name,
            const std::string& boolean, bool problem) {
  return {"binary_sensor", key, name,
          Field("state_topic", JsonString(state)) +
              Field("value_template",
                    JsonString("{{ 'ON' if value_json." + boolean + " else 'OFF' }}")) +
              (problem ? Field("device_class", JsonString("problem")) : "")};
}

// How a channel's numbers look: the unit of its values, and the step its
// decimal point gives (0..3 digits; anything else is taken as the nearest).
struct ChannelLook {
  bool temperature = false;
  std::string unit;
  int point = 0;
  float step = 1;
};

ChannelLook LookOf(const BusChannelSetup& setup, const std::string& configured_unit) {
  ChannelLook look;
  look.temperature = SensorUnit(setup.dat) == "°C";
  look.unit = look.temperature ? "°C" : configured_unit;
  look.point = std::clamp(setup.point, 0, 3);
  look.step = std::pow(10.0f, static_cast<float>(-look.point));
  return look;
}

std::string UnitField(const ChannelLook& look) {
  return look.unit.empty() ? "" : Field("unit_of_measurement", JsonString(look.unit));
}

Entity ValueSensor(const std::string& state, const std::string& c, int ch,
                   const ChannelLook& look) {
  return {"sensor", c + "_value", t::kChannelSensor + std::to_string(ch),
          Field("state_topic", JsonString(state)) +
              Field("value_template", JsonString("{{ value_json." + c + ".value }}")) +
              Field("state_class", JsonString("measurement")) +
              (look.temperature ? Field("device_class", JsonString("temperature")) : "") +
              UnitField(look) +
              Field("suggested_display_precision", std::to_string(look.point))};
}

// A writable parameter: its state the value last read from the instrument,
// its bounds those the checks before writing let through.
Entity ParameterNumber(const std::string& base, BusParameter parameter, const ChannelLook& look,
                       const BusChannelSetup& setup) {
  const std::string name(BusParameterName(parameter));
  const BusParameterPlace place = PlaceOf(parameter);
  const bool hysteresis =
      place.field == ChannelField::kHis1 || place.field == ChannelField::kHis2;
  const bool first = place.field == ChannelField::kTh1 || place.field == ChannelField::kHis1;
  const std::string of = std::string(first ? "1" : "2") + t::kOfChannel +
                         std::to_string(place.channel + 1);
  // A hysteresis is above zero and not above the range's upper end; a range
  // that leaves no room makes every value one the checks refuse.
  const float min = hysteresis ? look.step : kSmallestSetpoint;
  const float max = !hysteresis ? kLargestSetpoint
                    : std::isfinite(setup.diap_max) && setup.diap_max > min ? setup.diap_max
                                                                             : min;
  return {"number", name, (hysteresis ? t::kHysteresisNumber : t::kSetPointNumber) + of,
          Field("command_topic", JsonString(base + "/set/" + name)) +
              Field("state_topic", JsonString(base + "/parameters")) +
              Field("value_template", JsonString("{{ value_json." + name + " }}")) +
              Field("min", JsonFloat(min)) + Field("max", JsonFloat(max)) +
              Field("step", JsonFloat(look.step)) + Field("mode", JsonString("box")) +
              UnitField(look)};
}

// The entities of an instrument with `channels` channels whose setup and
// units are known; numbers for the parameters `writable` lets through.
template <typename Writable>
std::vector<Entity> Entities(const std::string& base, int channels, const BusIdentity& identity,
                             const ChannelUnits& units, Writable writable) {
  const std::string state = base + "/state";
  std::vector<Entity> entities;
  std::array<ChannelLook, 2> looks;
  for (int ch = 1; ch <= channels; ++ch) {
    const std::string c = "ch" + std::to_string(ch);
    const std::string of = t::kOfChannel + std::to_string(ch);
    looks[ch - 1] = LookOf(identity.channels[ch - 1], units[ch - 1]);
    entities.push_back(ValueSensor(state, c, ch, looks[ch - 1]));
    entities.push_back({"sensor", c + "_status", t::kStatusSensor + std::to_string(ch),
                        Field("state_topic", JsonString(state)) +
                            Field("value_template",
                                  JsonString("{{ value_json." + c + ".status_text }}"))});
    entities.push_back(Flag(state, c + "_sp1", t::kSetPointSensor + ("1" + of), c + ".sp1", false));
    entities.push_back(Flag(state, c + "_sp2", t::kSetPointSensor + ("2" + of), c + ".sp2", false));
    entities.push_back(Flag(state, c + "_break", t::kBreakSensor + std::to_string(ch),
                            c + ".break", true));
  }
  for (int relay = 1; relay <= 2; ++relay)
    entities.push_back(Flag(state, "relay" + std::to_string(relay),
                            t::kRelaySensor + std::to_string(relay),
                            "relays[" + std::to_string(relay - 1) + "]", false));
  for (const BusParameter p : kBusParameters) {
    const int k = PlaceOf(p).channel;
    if (k < channels && writable(p))
      entities.push_back(ParameterNumber(base, p, looks[k], identity.channels[k]));
  }
  return entities;
}

std::string TopicOf(const Entity& e, const std::string& node) {
  return std::string("homeassistant/") + e.component + "/" + node + "/" + e.key + "/config";
}

}  // namespace

std::vector<MqttMessage> DiscoveryMessages(const GatewayConfig& config, const BusSnapshot& s) {
  const std::string& prefix = config.prefix;
  const std::string id = InstrumentId(s.identity);
  const std::string base = prefix + "/" + id;
  const std::string node = InstrumentNode(prefix, id);
  const int model = DeviceTypeNumber(s.identity.device_type);
  const std::string device =
      "{\"identifiers\": [" + JsonString(node) +
      "], \"name\": " + JsonString("ZRM" + std::to_string(model) + " " + id) +
      Field("model", JsonString(DeviceTypeName(s.identity.device_type))) +
      Field("serial_number", JsonString(id)) +
      Field("sw_version", JsonString(FirmwareVersionText(s.identity.firmware_version))) +
      Field("via_device", JsonString(GatewayNode(prefix))) + "}";
  // The instrument's values are current only while it answers and the
  // gateway runs: its retained "online" outlives a gateway that died.
  const std::string availability =
      "[{\"topic\": " + JsonString(base + "/availability") + "}, {\"topic\": " +
      JsonString(prefix + "/gateway/running") +
      ", \"payload_available\": \"true\", \"payload_not_available\": \"false\"}]";
  const auto line_units = config.lines.at(s.line).units.find(s.address);
  const ChannelUnits units =
      line_units == config.lines.at(s.line).units.end() ? ChannelUnits{} : line_units->second;
  const int channels = model == 4813 ? 2 : 1;
  std::vector<MqttMessage> messages;
  for (const Entity& e : Entities(base, channels, s.identity, units, [&](BusParameter p) {
         return WriteAllowed(config.write, p);
       })) {
    messages.push_back({TopicOf(e, node), "{\"name\": " + JsonString(e.name) +
                                              Field("unique_id", JsonString(node + "_" + e.key)) +
                                              e.fields + Field("availability", availability) +
                                              Field("availability_mode", JsonString("all")) +
                                              Field("device", device) + "}"});
  }
  return messages;
}

MqttMessage GatewayDiscoveryMessage(const std::string& prefix) {
  const std::string node = GatewayNode(prefix);
  const std::string device = "{\"identifiers\": [" + JsonString(node) +
                             "], \"name\": " + JsonString("zrm48d " + prefix) +
                             Field("model", JsonString("zrm48d")) +
                             Field("sw_version", JsonString(ZRM_VERSION)) + "}";
  return {"homeassistant/binary_sensor/" + node + "/running/config",
          "{\"name\": " + JsonString(t::kGatewayRunningSensor) +
              Field("unique_id", JsonString(node + "_running")) +
              Field("state_topic", JsonString(prefix + "/gateway/running")) +
              Field("payload_on", JsonString("true")) + Field("payload_off", JsonString("false")) +
              Field("device_class", JsonString("connectivity")) + Field("device", device) + "}"};
}

std::vector<std::string> DiscoveryTopics(const std::string& prefix, const std::string& id) {
  const std::string node = InstrumentNode(prefix, id);
  std::vector<std::string> topics;
  for (const Entity& e : Entities(prefix + "/" + id, 2, BusIdentity{}, ChannelUnits{},
                                  [](BusParameter) { return true; }))
    topics.push_back(TopicOf(e, node));
  return topics;
}

}  // namespace zrm
