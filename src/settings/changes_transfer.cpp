// The write of changes walks the parameters in the whole write's order and
// sends only those in the changed list. The set point blocks keep the whole
// write's preparation: the type goes to 0 before its set point or
// hysteresis changes and is written again afterwards, so the alarm never
// acts on a half-changed pair.

#include "settings/changes_transfer.h"

#include <algorithm>
#include <span>
#include <string>

#include "settings/device_byte_transfer.h"
#include "settings/transfer_progress.h"
#include "settings/written_bytes_check.h"

namespace zrm {

namespace {

using F = ChannelField;

// A set point block: the type that is prepared, and the fields that change
// while it is 0.
struct SetpointBlock {
  F type;
  F value;
  F hysteresis;
};
constexpr SetpointBlock kSetpointBlocks[] = {{F::kThType1, F::kTh1, F::kHis1},
                                             {F::kThType2, F::kTh2, F::kHis2}};

// The relay logic and regulator bytes move under their group's text.
std::string_view WriteTextOf(const DeviceByteParameter& p) {
  const auto in = [&p](std::span<const DeviceByteParameter> rows) {
    return std::any_of(rows.begin(), rows.end(), [&p](const auto& row) { return &row == &p; });
  };
  if (in(kRelayLogicParameters)) return kRelayLogicTexts.write;
  if (in(kRegulatorParameters)) return kRegulatorTexts.write;
  return p.write_text;
}

class ChangesWriter {
 public:
  ChangesWriter(ParameterAccess& link, const DeviceSettings& target,
                const std::vector<WrittenParameter>& changed, Operator& op,
                std::vector<WrittenParameter>& written, std::vector<WrittenParameter>& unfinished)
      : link_(link),
        target_(target),
        changed_(changed),
        panel_(op),
        written_(written),
        unfinished_(unfinished) {}

  ExchangeResult Run() {
    panel_.SetLines(PanelLines(kProgressTitle, {}, kChannelWriteEscHint));
    panel_.Show();
    ExchangeResult r = WriteAll();
    if (r == result::kOk && !written_.empty()) r = CheckBytes();
    if (r == result::kOk && !written_.empty()) r = WriteClosing();
    panel_.Hide();
    return r;
  }

 private:
  bool Changed(const WrittenParameter& p) const {
    return std::find(changed_.begin(), changed_.end(), p) != changed_.end();
  }

  ExchangeResult WriteAll() {
    for (int k = 0; k < 2; ++k)
      if (ExchangeResult r = WriteChannel(k)) return r;
    for (const WrittenParameter& p : changed_) {
      if (!p.device_byte) continue;
      if (panel_.StopRequested()) return result::kUserAbort;
      panel_.SetStep(WriteTextOf(*p.device_byte));
      panel_.BeforeExchange();
      if (ExchangeResult r = WriteDeviceByte(link_, target_, *p.device_byte)) {
        unfinished_.push_back(p);
        return r;
      }
      written_.push_back(p);
    }
    return result::kOk;
  }

  static const SetpointBlock* BlockStartingAt(F field) {
    for (const SetpointBlock& b : kSetpointBlocks)
      if (b.value == field) return &b;
    return nullptr;
  }

  static bool InsideBlock(F field) {
    for (const SetpointBlock& b : kSetpointBlocks)
      if (field == b.hysteresis || field == b.type) return true;
    return false;
  }

  ExchangeResult WriteChannel(int k) {
    panel_.SetGroup(std::string(kWritingChannelText) + std::to_string(k + 1));
    for (const ChannelParameter& row : kChannelParameters) {
      if (const SetpointBlock* block = BlockStartingAt(row.field)) {
        if (ExchangeResult r = WriteSetpointBlock(k, *block)) return r;
        continue;
      }
      if (InsideBlock(row.field) || !Changed({k, row.field, nullptr})) continue;
      if (panel_.StopRequested()) return result::kUserAbort;
      if (ExchangeResult r = WriteField(k, row.field)) return r;
    }
    return result::kOk;
  }

  // Prepare, the changed value and hysteresis, then the type, all without an
  // ESC check in between.
  ExchangeResult WriteSetpointBlock(int k, const SetpointBlock& b) {
    const bool type_changed = Changed({k, b.type, nullptr});
    const bool value_changed = Changed({k, b.value, nullptr});
    const bool hysteresis_changed = Changed({k, b.hysteresis, nullptr});
    if (!type_changed && !value_changed && !hysteresis_changed) return result::kOk;
    if (panel_.StopRequested()) return result::kUserAbort;
    const ChannelParameter& type = ChannelParameterOf(b.type);
    // From the first frame of the preparation on, the type is neither old
    // nor new until it is written back.
    unfinished_.push_back({k, b.type, nullptr});
    panel_.SetStep(type.prepare_text);
    panel_.BeforeExchange();
    if (ExchangeResult r = link_.WriteByteChecked(kSettingsSpace, ChannelAddress(type, k), 0))
      return r;
    if (value_changed)
      if (ExchangeResult r = WriteField(k, b.value)) return r;
    if (hysteresis_changed)
      if (ExchangeResult r = WriteField(k, b.hysteresis)) return r;
    // The type goes back even when unchanged: the preparation set it to 0.
    panel_.SetStep(type.write_text);
    panel_.BeforeExchange();
    if (ExchangeResult r = WriteValue(k, type)) return r;
    unfinished_.pop_back();
    if (type_changed) written_.push_back({k, b.type, nullptr});
    return result::kOk;
  }

  ExchangeResult WriteField(int k, F field) {
    const ChannelParameter& row = ChannelParameterOf(field);
    panel_.SetStep(row.write_text);
    panel_.BeforeExchange();
    if (ExchangeResult r = WriteValue(k, row)) {
      unfinished_.push_back({k, field, nullptr});
      return r;
    }
    written_.push_back({k, field, nullptr});
    return result::kOk;
  }

  ExchangeResult WriteValue(int k, const ChannelParameter& row) {
    const ChannelSettings& ch = target_.channel[k];
    const ParameterAddress address = ChannelAddress(row, k);
    if (row.width == ParameterWidth::kByte)
      return link_.WriteByteChecked(kSettingsSpace, address,
                                    static_cast<std::uint32_t>(ch.*row.byte_field));
    return link_.WriteFloatChecked(kSettingsSpace, address, ch.*row.float_field);
  }

  // The device bytes written are read back in one block; one that did not
  // read back as sent is no longer written but unfinished.
  ExchangeResult CheckBytes() {
    if (std::none_of(written_.begin(), written_.end(),
                     [](const WrittenParameter& p) { return p.device_byte != nullptr; }))
      return result::kOk;
    ByteMismatch mismatch;
    const ExchangeResult r = CheckWrittenBytes(link_, target_, written_, panel_, mismatch);
    if (r == result::kOk) {
      panel_.SetLines(PanelLines(kProgressTitle, {}, kChannelWriteEscHint));
      return r;
    }
    written_.erase(std::find(written_.begin(), written_.end(), mismatch.parameter));
    unfinished_.push_back(mismatch.parameter);
    return r;
  }

  ExchangeResult WriteClosing() {
    for (const FixedWrite& w : kClosingWrites) {
      panel_.SetStep(w.text);
      panel_.BeforeExchange();
      if (ExchangeResult r = link_.WriteByte(w.space, w.address, w.value)) return r;
    }
    return result::kOk;
  }

  ParameterAccess& link_;
  const DeviceSettings& target_;
  const std::vector<WrittenParameter>& changed_;
  TransferProgress panel_;
  std::vector<WrittenParameter>& written_;
  std::vector<WrittenParameter>& unfinished_;
};

}  // namespace

ExchangeResult WriteChangedSettings(ParameterAccess& link, const DeviceSettings& target,
                                    const std::vector<WrittenParameter>& changed, Operator& op,
                                    std::vector<WrittenParameter>& written,
                                    std::vector<WrittenParameter>& unfinished) {
  return ChangesWriter(link, target, changed, op, written, unfinished).Run();
}

}  // namespace zrm
