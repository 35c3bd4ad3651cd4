#pragma once
// Home Assistant MQTT discovery: the retained config messages under
// homeassistant/ that make each instrument a device with its sensors.

#include <string>
#include <vector>

#include "bus/bus_snapshot.h"

namespace zrm {

struct MqttMessage {
  std::string topic;
  std::string payload;
};

// The config messages of one identified instrument: a value and a status
// sensor per channel it has (one for 4810/4816, two for 4813), all reading
// its state topic and following its availability topic.
std::vector<MqttMessage> DiscoveryMessages(const std::string& prefix, const BusSnapshot& snapshot);

}  // namespace zrm
