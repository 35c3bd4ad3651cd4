// Channel read and write: the fields of one channel in step order, each step
// under its text from the parameter map, with ESC checks between the steps
// marked for them.

#include "settings/channel_transfer.h"

#include <bit>
#include <cstddef>
#include <string>

#include "settings/device_transfer.h"
#include "settings/parameter_map.h"

namespace zrm {

namespace {

using F = ChannelField;

constexpr bool kEsc = true;
constexpr bool kNoEsc = false;

// A step moves `count` consecutive map rows from `first` under one text.
struct ReadStep {
  F first;
  int count;
  bool esc_after;
  bool failure_tolerated;
};

// The read steps. A failed read of `flag` does not stop the read; the field
// keeps its value.
constexpr ReadStep kReadSteps[] = {
    {F::kDat, 1, kEsc, false},     {F::kDiapMax, 1, kEsc, false}, {F::kDiapMin, 1, kEsc, false},
    {F::kFlag, 1, kEsc, true},     {F::kAdj, 1, kEsc, false},     {F::kShift, 1, kEsc, false},
    {F::kTh1, 1, kEsc, false},     {F::kHis1, 1, kEsc, false},    {F::kThType1, 1, kEsc, false},
    {F::kTh2, 1, kEsc, false},     {F::kHis2, 1, kEsc, false},    {F::kThType2, 1, kEsc, false},
    {F::kNs, 1, kEsc, false},      {F::kSearch, 1, kEsc, false},  {F::kUse, 1, kEsc, false},
    {F::kPoint, 1, kNoEsc, false}, {F::kSpdTh, 1, kNoEsc, false}, {F::kSpdHis, 1, kNoEsc, false},
    {F::kKoef0, 4, kNoEsc, false},
};

// A write step either writes fields or prepares a set point type by writing
// 0 to it, so the set point and hysteresis change while their alarm is off.
enum class WriteAction { kFields, kPrepare };

struct WriteStep {
  WriteAction action;
  F first;
  int count;
  bool esc_after;
};

// The write steps. Between a preparation and the write of its type there is
// no ESC check: stopping there would leave the alarm switched off in the
// instrument. ESC is noticed once the type is restored.
constexpr WriteStep kWriteSteps[] = {
    {WriteAction::kFields, F::kDat, 1, kEsc},        {WriteAction::kFields, F::kDiapMax, 1, kEsc},
    {WriteAction::kFields, F::kDiapMin, 1, kEsc},    {WriteAction::kFields, F::kFlag, 1, kEsc},
    {WriteAction::kFields, F::kAdj, 1, kNoEsc},      {WriteAction::kFields, F::kShift, 1, kEsc},
    {WriteAction::kPrepare, F::kThType1, 1, kNoEsc}, {WriteAction::kFields, F::kTh1, 1, kNoEsc},
    {WriteAction::kFields, F::kHis1, 1, kNoEsc},     {WriteAction::kFields, F::kThType1, 1, kEsc},
    {WriteAction::kPrepare, F::kThType2, 1, kNoEsc}, {WriteAction::kFields, F::kTh2, 1, kNoEsc},
    {WriteAction::kFields, F::kHis2, 1, kNoEsc},     {WriteAction::kFields, F::kThType2, 1, kEsc},
    {WriteAction::kFields, F::kNs, 1, kEsc},         {WriteAction::kFields, F::kSearch, 1, kEsc},
    {WriteAction::kFields, F::kUse, 1, kEsc},        {WriteAction::kFields, F::kPoint, 1, kNoEsc},
    {WriteAction::kFields, F::kSpdTh, 1, kNoEsc},    {WriteAction::kFields, F::kSpdHis, 1, kNoEsc},
    {WriteAction::kFields, F::kKoef0, 4, kNoEsc},
};

const ChannelParameter& Row(F first, int offset) {
  return ChannelParameterOf(static_cast<F>(static_cast<int>(first) + offset));
}

ExchangeResult WriteParameter(ParameterAccess& link, const ChannelSettings& ch,
                              const ChannelParameter& p, int k) {
  const ParameterAddress address = ChannelAddress(p, k);
  if (p.width == ParameterWidth::kByte)
    return link.WriteByteChecked(kSettingsSpace, address,
                                 static_cast<std::uint32_t>(ch.*p.byte_field));
  return link.WriteFloatChecked(kSettingsSpace, address, ch.*p.float_field);
}

ExchangeResult RunReadStep(ParameterAccess& link, ChannelSettings& ch, const ReadStep& step, int k,
                           TransferProgress& panel) {
  panel.SetStep(Row(step.first, 0).read_text);
  for (int i = 0; i < step.count; ++i) {
    panel.BeforeExchange();
    if (const ExchangeResult r = ReadChannelParameter(link, ch, Row(step.first, i), k); r != result::kOk)
      return r;
  }
  return result::kOk;
}

ExchangeResult RunWriteStep(ParameterAccess& link, const ChannelSettings& ch,
                            const WriteStep& step, int k, TransferProgress& panel) {
  const ChannelParameter& first = Row(step.first, 0);
  if (step.action == WriteAction::kPrepare) {
    panel.SetStep(first.prepare_text);
    panel.BeforeExchange();
    return link.WriteByteChecked(kSettingsSpace, ChannelAddress(first, k), 0);
  }
  panel.SetStep(first.write_text);
  for (int i = 0; i < step.count; ++i) {
    panel.BeforeExchange();
    if (const ExchangeResult r = WriteParameter(link, ch, Row(step.first, i), k); r != result::kOk)
      return r;
  }
  return result::kOk;
}

bool ValidChannelIndex(int k) { return k == 0 || k == 1; }

}  // namespace

// Bytes are stored as 0..255, floats as the received bit pattern.
ExchangeResult ReadChannelParameter(ParameterAccess& link, ChannelSettings& ch,
                                    const ChannelParameter& p, int k) {
  const ParameterAddress address = ChannelAddress(p, k);
  if (p.width == ParameterWidth::kByte) {
    std::uint8_t value = 0;
    const ExchangeResult r = link.ReadByte(kSettingsSpace, address, value);
    if (r == result::kOk) ch.*p.byte_field = value;
    return r;
  }
  std::uint32_t bits = 0;
  const ExchangeResult r = link.ReadDword(kSettingsSpace, address, bits);
  if (r == result::kOk) ch.*p.float_field = std::bit_cast<float>(bits);
  return r;
}

ExchangeResult ReadChannel(ParameterAccess& link, DeviceSettings& s, TransferProgress& panel, int k) {
  // The index is checked before the channel's switch is looked at, so that
  // no index reaches past the two channels.
  if (!ValidChannelIndex(k)) {
    panel.Hide();
    return result::kOperandTooBig;
  }
  ChannelSettings& ch = s.channel[static_cast<std::size_t>(k)];
  if (ch.select == 0) return result::kOk;
  if (panel.StopRequested()) return result::kUserAbort;
  for (const ReadStep& step : kReadSteps) {
    const ExchangeResult r = RunReadStep(link, ch, step, k, panel);
    if (r != result::kOk && !step.failure_tolerated) {
      panel.Hide();
      return r;
    }
    if (step.esc_after && panel.StopRequested()) return result::kUserAbort;
  }
  panel.ClearStep();
  return result::kOk;
}

ExchangeResult ReadChannel(ParameterAccess& link, DeviceSettings& s, Operator& op, int k) {
  const std::string group = std::string(kReadingChannelText) + std::to_string(k + 1);
  TransferProgress panel(op, PanelLines(kProgressTitle, group, kEscHint));
  return ReadChannel(link, s, panel, k);
}

ExchangeResult WriteChannel(ParameterAccess& link, const DeviceSettings& s, Operator& op, int k) {
  TransferProgress panel(op);
  if (!ValidChannelIndex(k)) {
    panel.Hide();
    return result::kOperandTooBig;
  }
  const ChannelSettings& ch = s.channel[static_cast<std::size_t>(k)];
  if (ch.select == 0) return result::kOk;
  // The caller has shown the panel; only its lines change here.
  const std::string group = std::string(kWritingChannelText) + std::to_string(k + 1);
  panel.SetLines(PanelLines(kProgressTitle, group, kChannelWriteEscHint));
  if (panel.StopRequested()) return result::kUserAbort;
  for (const WriteStep& step : kWriteSteps) {
    if (const ExchangeResult r = RunWriteStep(link, ch, step, k, panel); r != result::kOk) {
      panel.Hide();
      return r;
    }
    if (step.esc_after && panel.StopRequested()) return result::kUserAbort;
  }
  return result::kOk;
}

}  // namespace zrm
