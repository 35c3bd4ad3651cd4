// The whole-image sequences: both channels, relay logic, regulator, general
// parameters (and for a write, the check of the device bytes and the
// closing writes). Each stops at the first non-zero result of any group, hides
// the panel and passes the result up unchanged.

#include "settings/device_transfer.h"

#include <string>

#include "settings/channel_transfer.h"
#include "settings/exchange_count.h"
#include "settings/general_transfer.h"
#include "settings/written_bytes_check.h"
#include "settings/written_parameters.h"

namespace zrm {

namespace {

ExchangeResult Fail(TransferProgress& panel, ExchangeResult r) {
  panel.Hide();
  return r;
}

ExchangeResult ReadAllGroups(ParameterAccess& link, DeviceSettings& s, Operator& op) {
  TransferProgress panel(op);
  panel.SetLines(PanelLines(kProgressTitle, {}, kEscHint));
  for (int k = 0; k < 2; ++k) {
    panel.SetGroup(std::string(kReadingChannelText) + std::to_string(k + 1));
    panel.Show();
    if (const ExchangeResult r = ReadChannel(link, s, panel, k); r != result::kOk)
      return Fail(panel, r);
  }
  if (const ExchangeResult r = ReadRelayLogic(link, s, op); r != result::kOk) return Fail(panel, r);
  if (const ExchangeResult r = ReadRegulator(link, s, op); r != result::kOk) return Fail(panel, r);
  if (s.general.gen_select != 0) {
    if (const ExchangeResult r = ReadSerialAndDate(link, s, op); r != result::kOk)
      return Fail(panel, r);
    if (const ExchangeResult r = ReadGeneralParameters(link, s, op); r != result::kOk)
      return Fail(panel, r);
  }
  panel.Hide();
  return result::kOk;
}

// The groups in the whole write's order; the device bytes, written without a
// read-back of their own, are checked in one block after the last of them
// and before the closing writes.
ExchangeResult WriteAllGroups(ParameterAccess& link, const DeviceSettings& s, Operator& op,
                              ByteMismatch& mismatch) {
  TransferProgress panel(op);
  panel.SetLines(PanelLines(kProgressTitle, {}, kEscHint));
  panel.Show();
  for (int k = 0; k < 2; ++k)
    if (const ExchangeResult r = WriteChannel(link, s, op, k); r != result::kOk)
      return Fail(panel, r);
  if (const ExchangeResult r = WriteRelayLogic(link, s, op); r != result::kOk)
    return Fail(panel, r);
  if (const ExchangeResult r = WriteRegulator(link, s, op); r != result::kOk) return Fail(panel, r);
  if (const ExchangeResult r = WriteGeneralParameters(link, s, op); r != result::kOk)
    return Fail(panel, r);
  if (const ExchangeResult r = CheckWrittenBytes(link, s, ParametersWrittenFor(s), panel, mismatch);
      r != result::kOk)
    return Fail(panel, r);
  if (const ExchangeResult r = WriteClosingCommands(link, op); r != result::kOk)
    return Fail(panel, r);
  panel.Hide();
  return result::kOk;
}

// Runs a whole transfer with the progress counted: a trial run on a copy of
// the record gives the total before the first exchange.
template <class Transfer>
ExchangeResult RunCounted(const Transfer& transfer, ParameterAccess& link, DeviceSettings& s,
                          Operator& op) {
  DeviceSettings trial = s;
  const int total = CountExchanges([&](ParameterAccess& access, Operator& silent) {
    Ignore(transfer(access, trial, silent), "every answer of the trial run is success");
  });
  CountingAccess counted(link, op, total);
  return transfer(counted, s, op);
}

}  // namespace

ExchangeResult ReadDeviceSettings(ParameterAccess& link, DeviceSettings& s, Operator& op) {
  return RunCounted(ReadAllGroups, link, s, op);
}

ExchangeResult WriteDeviceSettings(ParameterAccess& link, DeviceSettings& s, Operator& op,
                                   ByteMismatch& mismatch) {
  return RunCounted(
      [&mismatch](ParameterAccess& access, DeviceSettings& record, Operator& o) {
        return WriteAllGroups(access, record, o, mismatch);
      },
      link, s, op);
}

ExchangeResult WriteDeviceSettings(ParameterAccess& link, DeviceSettings& s, Operator& op) {
  ByteMismatch mismatch;
  return WriteDeviceSettings(link, s, op, mismatch);
}

}  // namespace zrm
