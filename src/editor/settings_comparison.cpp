#include "editor/settings_comparison.h"

#include <charconv>
#include <iterator>
#include <string_view>

#include "editor/comparison_texts.h"
#include "editor/editor_number.h"
#include "editor/item_lists.h"
#include "editor/list_selection.h"
#include "editor/relay_grid.h"
#include "platform/number_text.h"
#include "settings/instrument_identity_text.h"

namespace zrm {

namespace {

namespace t = comparison_texts;
using F = ChannelField;

static_assert(std::size(t::kChannelLabels) == kChannelFieldCount, "one label per channel field");
static_assert(std::size(t::kEventColumns) == kGridColumns, "one text per grid column");

std::string Code(std::int32_t value) { return std::string(t::kCode) + std::to_string(value); }

// A list's item for a value (item i stands for i + offset), or the code.
std::string ListText(std::int32_t value, const std::vector<std::string>& items, int offset) {
  const int index = ListIndexOf(value, offset, items.size());
  return index < 0 ? Code(value) : items[index];
}

std::string SwitchText(std::int32_t value) {
  return std::string(ByteOnWire(value) != 0 ? t::kYes : t::kNo);
}

// The shortest text that reads back as exactly this float.
std::string ExactText(float value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

// Two different floats may show the same four decimals; then both are
// given exactly, so the line never claims a difference it does not show.
void FloatTexts(float a, float b, std::string& text_a, std::string& text_b) {
  text_a = std::string(TrimBlanks(FormatEditorNumber(a)));
  text_b = std::string(TrimBlanks(FormatEditorNumber(b)));
  if (text_a != text_b) return;
  text_a = ExactText(a);
  text_b = ExactText(b);
}

std::string ChannelByteText(F field, std::int32_t value) {
  switch (field) {
    case F::kDat: return ListText(value, SensorTypeItems(), 0);
    case F::kFlag:
    case F::kUse: return SwitchText(value);
    case F::kThType1:
    case F::kThType2: {
      const int index = SetpointTypeIndex(value);
      return index < 0 || (value != 0 && index == 0) ? Code(value) : SetpointTypeItems()[index];
    }
    case F::kNs:
    case F::kSearch: return ListText(value, CountItems(), kCountListOffset);
    case F::kPoint: return ListText(value, DigitItems(), 0);
    default: return std::to_string(value);
  }
}

std::string ChannelGroup(int k) { return std::string(k == 0 ? t::kChannel1 : t::kChannel2); }

void AddChannelDifference(const WrittenParameter& p, const DeviceSettings& instrument,
                          const DeviceSettings& target, std::vector<SettingDifference>& out) {
  const ChannelParameter& row = ChannelParameterOf(p.field);
  SettingDifference d{
      ChannelGroup(p.channel), std::string(t::kChannelLabels[static_cast<int>(p.field)]), {}, {}};
  const ChannelSettings& a = instrument.channel[p.channel];
  const ChannelSettings& b = target.channel[p.channel];
  if (row.width == ParameterWidth::kFloat) {
    FloatTexts(a.*row.float_field, b.*row.float_field, d.instrument, d.profile);
  } else {
    d.instrument = ChannelByteText(p.field, a.*row.byte_field);
    d.profile = ChannelByteText(p.field, b.*row.byte_field);
  }
  out.push_back(std::move(d));
}

// Which relay (grid row) and which word a mask member is.
struct MaskPlace {
  std::int32_t RelaySettings::*member;
  int row;
};
constexpr MaskPlace kMasks[] = {{&RelaySettings::rel0_msk0, 1},
                                {&RelaySettings::rel0_msk1, 1},
                                {&RelaySettings::rel1_msk0, 2},
                                {&RelaySettings::rel1_msk1, 2}};

const MaskPlace* MaskOf(const DeviceByteParameter& p) {
  for (const MaskPlace& m : kMasks)
    if (p.field.in_relay == m.member) return &m;
  return nullptr;
}

// The grid as the editor shows one mask alone.
RelayGrid GridOfMask(const MaskPlace& m, std::int32_t value) {
  RelaySettings relay;
  relay.*m.member = static_cast<std::int32_t>(ByteOnWire(value));
  RelayGrid grid = RelayGridFixedCells();
  MasksToRelayGrid(relay, grid);
  return grid;
}

// The bits of a mask that have a cell in the grid.
std::uint32_t CellBits(const MaskPlace& m) {
  RelayGrid all = GridOfMask(m, 0xFF);
  RelaySettings relay;
  RelayGridToMasks(all, relay);
  return static_cast<std::uint32_t>(relay.*m.member);
}

std::string HexByte(std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
}

void AddMaskDifferences(const MaskPlace& m, std::int32_t a, std::int32_t b,
                        std::vector<SettingDifference>& out) {
  const std::string relay(m.row == 1 ? t::kRelay1 : t::kRelay2);
  const RelayGrid grid_a = GridOfMask(m, a);
  const RelayGrid grid_b = GridOfMask(m, b);
  for (int col = 1; col < kGridColumns; ++col) {
    const bool marked_a = IsRelayCellMarked(grid_a, col, m.row);
    const bool marked_b = IsRelayCellMarked(grid_b, col, m.row);
    if (marked_a == marked_b) continue;
    out.push_back({std::string(t::kRelays), relay + ", " + std::string(t::kEventColumns[col]),
                   std::string(marked_a ? t::kMarked : t::kNotMarked),
                   std::string(marked_b ? t::kMarked : t::kNotMarked)});
  }
  const std::uint32_t hidden = ~CellBits(m) & 0xFF;
  const std::uint32_t hidden_a = ByteOnWire(a) & hidden;
  const std::uint32_t hidden_b = ByteOnWire(b) & hidden;
  if (hidden_a != hidden_b)
    out.push_back({std::string(t::kRelays), relay + ", " + std::string(t::kOtherMaskBits),
                   HexByte(hidden_a), HexByte(hidden_b)});
}

// Label and value texts of a device byte outside the masks.
struct ByteLabel {
  std::string group;
  std::string label;
};

ByteLabel DeviceByteLabel(const DeviceByteParameter& p) {
  const RecordByte& f = p.field;
  const std::string copy = f.channel == 1 ? std::string(t::kSecondCopy) : std::string();
  if (f.in_channel == &ChannelSettings::ver_rel_proc)
    return {std::string(t::kRelays), std::string(t::kRelayLogic) + std::to_string(f.channel + 1)};
  if (f.in_channel == &ChannelSettings::reg_int)
    return {std::string(t::kRelays), std::string(t::kDecisionInterval) + copy};
  if (f.in_channel == &ChannelSettings::pulse_int)
    return {std::string(t::kRelays), std::string(t::kMaximumPulse) + copy};
  if (f.in_general == &GeneralSettings::proc_ver)
    return {std::string(t::kGeneral), std::string(t::kDeviceType)};
  if (f.in_general == &GeneralSettings::err_ver)
    return {std::string(t::kGeneral), std::string(t::kErrorDisplay)};
  return {std::string(t::kRelays), std::string()};
}

std::string DeviceByteText(const DeviceByteParameter& p, std::int32_t value) {
  const RecordByte& f = p.field;
  if (f.in_channel == &ChannelSettings::reg_int)
    return ListText(value, IntervalItems(), kIntervalListOffset);
  if (f.in_channel == &ChannelSettings::pulse_int)
    return ListText(value, PulseItems(), kPulseListOffset);
  if (f.in_general == &GeneralSettings::proc_ver) return ListText(value, DeviceTypeItems(), 0);
  if (f.in_general == &GeneralSettings::err_ver) return ListText(value, ErrorDisplayItems(), 0);
  return std::to_string(value);
}

void AddDeviceByteDifferences(const DeviceByteParameter& p, const DeviceSettings& instrument,
                              const DeviceSettings& target, std::vector<SettingDifference>& out) {
  const std::int32_t a = FieldOf(instrument, p.field);
  const std::int32_t b = FieldOf(target, p.field);
  if (const MaskPlace* mask = MaskOf(p)) return AddMaskDifferences(*mask, a, b, out);
  ByteLabel name = DeviceByteLabel(p);
  out.push_back(
      {std::move(name.group), std::move(name.label), DeviceByteText(p, a), DeviceByteText(p, b)});
}

void AddIdentityDifferences(const DeviceSettings& instrument, const DeviceSettings& target,
                            std::vector<SettingDifference>& out) {
  if (!IsOtherInstrument(instrument, target)) return;
  const std::string group(t::kOtherInstrument);
  if (instrument.general.proc_ver != target.general.proc_ver)
    out.push_back({group, std::string(t::kDeviceType), ModelNumber(instrument.general.proc_ver),
                   ModelNumber(target.general.proc_ver)});
  // A record without a serial number (a profile) names no instrument.
  if (SerialNumber(target.general) != 0 &&
      DeviceNumber(instrument.general) != DeviceNumber(target.general))
    out.push_back({group, std::string(t::kDeviceNumber), DeviceNumber(instrument.general),
                   DeviceNumber(target.general)});
}

}  // namespace

bool IsOtherInstrument(const DeviceSettings& instrument, const DeviceSettings& target) {
  if (instrument.general.proc_ver != target.general.proc_ver) return true;
  if (SerialNumber(target.general) == 0) return false;
  return DeviceNumber(instrument.general) != DeviceNumber(target.general);
}

std::vector<SettingDifference> CompareSettings(const DeviceSettings& instrument,
                                               const DeviceSettings& target) {
  std::vector<SettingDifference> out;
  AddIdentityDifferences(instrument, target, out);
  for (const WrittenParameter& p : ChangedParameters(instrument, target)) {
    if (p.device_byte)
      AddDeviceByteDifferences(*p.device_byte, instrument, target, out);
    else
      AddChannelDifference(p, instrument, target, out);
  }
  return out;
}

std::string DifferenceLine(const SettingDifference& d) {
  return d.group + ": " + d.label + ": " + d.instrument + std::string(t::kArrow) + d.profile;
}

std::string ParameterName(const WrittenParameter& p) {
  if (!p.device_byte)
    return ChannelGroup(p.channel) + ": " +
           std::string(t::kChannelLabels[static_cast<int>(p.field)]);
  if (const MaskPlace* mask = MaskOf(*p.device_byte)) {
    const bool second_word =
        mask->member == &RelaySettings::rel0_msk1 || mask->member == &RelaySettings::rel1_msk1;
    return std::string(t::kRelays) + ": " + std::string(mask->row == 1 ? t::kRelay1 : t::kRelay2) +
           ", " + std::string(second_word ? t::kSecondMaskEvents : t::kFirstMaskEvents);
  }
  const ByteLabel name = DeviceByteLabel(*p.device_byte);
  return name.group + ": " + name.label;
}

}  // namespace zrm
