#pragma once
// Home Assistant MQTT discovery: the retained config messages under
// homeassistant/ that make each instrument a device with its entities, all
// read from the gateway's own topics, and the gateway a device of its own.

#include <string>
#include <vector>

#include "bus/bus_snapshot.h"
#include "gateway/gateway_config.h"

namespace zrm {

struct MqttMessage {
  std::string topic;
  std::string payload;

  bool operator==(const MqttMessage&) const = default;
};

// The config messages of one identified instrument, for each channel it has
// (one for 4810/4816, two for 4813): its value as a measurement (a
// temperature in °C for the thermocouples and resistance thermometers, else
// the unit its line's Units= names), its status text, its set points and
// sensor break as binary sensors; its two relays; and each parameter
// `config.write` allows as a number that writes through P/I/set. Every
// entity follows the instrument's availability and the gateway's running.
std::vector<MqttMessage> DiscoveryMessages(const GatewayConfig& config, const BusSnapshot& snapshot);

// The gateway's own device: its running state as a connectivity sensor.
MqttMessage GatewayDiscoveryMessage(const std::string& prefix);

// Every config topic DiscoveryMessages can give the instrument `id` (two
// channels, every parameter), to clear once it is no longer configured.
std::vector<std::string> DiscoveryTopics(const std::string& prefix, const std::string& id);

}  // namespace zrm
