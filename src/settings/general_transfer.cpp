#include "settings/general_transfer.h"

#include "settings/device_byte_transfer.h"
#include "settings/device_transfer.h"

namespace zrm {

ExchangeResult ReadManufacturingDate(ParameterAccess& link, DeviceSettings& s) {
  for (const auto& p : kManufacturingDateParameters)
    if (const ExchangeResult r = ReadDeviceByte(link, s, p); r != result::kOk) return r;
  return result::kOk;
}

ExchangeResult ReadSerialAndDate(ParameterAccess& link, DeviceSettings& s, Operator& op) {
  TransferProgress panel(op);
  panel.SetLines(PanelLines(kProgressTitle, {}, kEscHint));
  panel.Show();
  panel.SetStep(kSerialNumberText);
  ExchangeResult r = ReadDeviceBytes(link, s, kSerialNumberParameters, panel);
  if (r == result::kOk) r = ReadManufacturingDate(link, s);
  panel.Hide();
  return r;
}

ExchangeResult ReadGeneralParameters(ParameterAccess& link, DeviceSettings& s, Operator& op) {
  TransferProgress panel(op);
  panel.SetLines(PanelLines(kProgressTitle, {}, kEscHint));
  panel.Show();
  for (const auto& p : kGeneralParameters) {
    panel.SetStep(p.read_text);
    panel.BeforeExchange();
    if (const ExchangeResult r = ReadDeviceByte(link, s, p); r != result::kOk) return r;
  }
  return result::kOk;
}

ExchangeResult WriteGeneralParameters(ParameterAccess& link, const DeviceSettings& s,
                                      Operator& op) {
  if (s.general.gen_select == 0) return result::kOk;
  TransferProgress panel(op);
  panel.SetLines(PanelLines(kProgressTitle, {}, {}));
  panel.Show();
  for (const auto& p : kGeneralParameters) {
    if (p.write_text.empty()) continue;  // read-only parameter
    panel.SetStep(p.write_text);
    panel.BeforeExchange();
    if (const ExchangeResult r = WriteDeviceByte(link, s, p); r != result::kOk) return r;
  }
  return result::kOk;
}

ExchangeResult WriteClosingCommands(ParameterAccess& link, Operator& op) {
  TransferProgress panel(op, PanelLines(kProgressTitle, {}, {}));
  for (const auto& w : kClosingWrites) {
    panel.SetStep(w.text);
    panel.BeforeExchange();
    if (const ExchangeResult r = link.WriteByte(w.space, w.address, w.value); r != result::kOk)
      return r;
  }
  return result::kOk;
}

}  // namespace zrm
