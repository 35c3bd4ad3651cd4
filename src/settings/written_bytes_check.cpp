#include "settings/written_bytes_check.h"

#include <algorithm>
#include <span>

namespace zrm {

namespace {

bool InRows(const DeviceByteParameter& p, std::span<const DeviceByteParameter> rows) {
  return std::any_of(rows.begin(), rows.end(), [&p](const auto& row) { return &row == &p; });
}

// The step line names the group being checked as its read names it.
std::string_view CheckTextOf(const DeviceByteParameter& p) {
  if (InRows(p, kRelayLogicParameters)) return kRelayLogicTexts.read;
  if (InRows(p, kRegulatorParameters)) return kRegulatorTexts.read;
  return p.read_text;
}

}  // namespace

ExchangeResult CheckWrittenBytes(ParameterAccess& link, const DeviceSettings& target,
                                 const std::vector<WrittenParameter>& written,
                                 TransferProgress& panel, ByteMismatch& mismatch) {
  panel.SetLines(PanelLines(kProgressTitle, kCheckingWrittenText, {}));
  for (const WrittenParameter& p : written) {
    if (!p.device_byte) continue;
    const DeviceByteParameter& row = *p.device_byte;
    const std::uint32_t sent = ByteOnWire(FieldOf(target, row.field));
    // Starts as the byte sent: an access that answers without a value (the
    // trial run that counts a transfer's exchanges) then walks on.
    auto held = static_cast<std::uint8_t>(sent);
    panel.SetStep(CheckTextOf(row));
    panel.BeforeExchange();
    const ExchangeResult r = link.ReadByte(row.space, row.address, held);
    if (r != result::kOk || held != sent) {
      mismatch = {p, sent, held};
      return r != result::kOk ? r : result::kReadBackMismatch;
    }
  }
  return result::kOk;
}

}  // namespace zrm
