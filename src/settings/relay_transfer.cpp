// Relay logic and regulator: each group shows its text on line 2 of the panel
// (the other lines empty), moves its bytes in map order without read-back or
// ESC check, and hides the panel only when all went through; on a failure the
// caller hides it.

#include "settings/device_byte_transfer.h"
#include "settings/device_transfer.h"

namespace zrm {

namespace {

bool RelayLogicSelected(const DeviceSettings& s) { return s.relay.select == 1; }

void ShowGroup(TransferProgress& panel, std::string_view text) {
  panel.SetLines(PanelLines({}, text, {}));
  panel.Show();
}

ExchangeResult ReadGroup(ParameterAccess& link, DeviceSettings& s, Operator& op,
                         std::span<const DeviceByteParameter> params, std::string_view text) {
  TransferProgress panel(op);
  ShowGroup(panel, text);
  const ExchangeResult r = ReadDeviceBytes(link, s, params, panel);
  if (r == result::kOk) panel.Hide();
  return r;
}

ExchangeResult WriteGroup(ParameterAccess& link, const DeviceSettings& s, Operator& op,
                          std::span<const DeviceByteParameter> params, std::string_view text) {
  TransferProgress panel(op);
  ShowGroup(panel, text);
  const ExchangeResult r = WriteDeviceBytes(link, s, params, panel);
  if (r == result::kOk) panel.Hide();
  return r;
}

}  // namespace

ExchangeResult ReadRelayLogic(ParameterAccess& link, DeviceSettings& s, Operator& op) {
  if (!RelayLogicSelected(s)) return result::kOk;
  return ReadGroup(link, s, op, kRelayLogicParameters, kRelayLogicTexts.read);
}

ExchangeResult WriteRelayLogic(ParameterAccess& link, const DeviceSettings& s, Operator& op) {
  if (!RelayLogicSelected(s)) return result::kOk;
  return WriteGroup(link, s, op, kRelayLogicParameters, kRelayLogicTexts.write);
}

ExchangeResult ReadRegulator(ParameterAccess& link, DeviceSettings& s, Operator& op) {
  return ReadGroup(link, s, op, kRegulatorParameters, kRegulatorTexts.read);
}

ExchangeResult WriteRegulator(ParameterAccess& link, const DeviceSettings& s, Operator& op) {
  return WriteGroup(link, s, op, kRegulatorParameters, kRegulatorTexts.write);
}

}  // namespace zrm
