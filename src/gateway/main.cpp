// zrm48d: the instruments of RS-485 lines polled as a service, their values
// passed on to the plant's MQTT broker and Modbus TCP clients.

#include <cstdio>
#include <string>
#include <vector>

#include "gateway/gateway_daemon.h"

int main(int argc, char** argv) {
  return zrm::RunGateway(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
