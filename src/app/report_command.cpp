#include "app/report_command.h"

#include <array>
#include <cstdint>
#include <functional>

#include "settings/device_transfer.h"

namespace zrm {

namespace {

// The four group switches of the record, in a fixed order.
std::array<std::reference_wrapper<std::int32_t>, 4> GroupSwitches(DeviceSettings& s) {
  return {s.channel[0].select, s.channel[1].select, s.relay.select, s.general.gen_select};
}

// Reads every group and puts the switches back as they were.
ExchangeResult ReadAllGroups(ParameterAccess& link, DeviceSettings& s, Operator& op) {
  auto switches = GroupSwitches(s);
  std::array<std::int32_t, 4> remembered{};
  for (std::size_t i = 0; i < switches.size(); ++i) {
    remembered[i] = switches[i];
    switches[i].get() = 1;
  }
  const ExchangeResult r = ReadDeviceSettings(link, s, op);
  for (std::size_t i = 0; i < switches.size(); ++i) switches[i].get() = remembered[i];
  return r;
}

}  // namespace

ExchangeResult ReportReadCommand(ParameterAccess& link, DeviceSettings& s, Operator& op) {
  op.EscPressed();  // an ESC pressed before the command must not stop it
  op.LockCommands();
  ExchangeResult r = ReadAllGroups(link, s, op);
  if (r == result::kOk) r = ReadManufacturingDate(link, s);
  ShowExchangeError(op, r);
  op.UnlockCommands();
  return r;
}

}  // namespace zrm
