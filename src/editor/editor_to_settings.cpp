#include <cmath>
#include <cstdint>

#include "editor/editor_binding.h"
#include "editor/editor_number.h"
#include "editor/item_lists.h"
#include "editor/list_selection.h"
#include "editor/relay_grid.h"
#include "link/exchange_result.h"
#include "platform/number_text.h"

namespace zrm {

namespace {

constexpr unsigned long long kLargestSerialNumber = 65535;
constexpr unsigned long long kOutOfRangeSerialNumber = 65536;

void CollectLists(const EditorForm& form, DeviceSettings& s) {
  for (int k = 0; k < 2; ++k)
    CollectListIndex(form.channel[k].dat, 0, SensorTypeItems().size(), s.channel[k].dat);
  for (int k = 0; k < 2; ++k) {
    s.channel[k].th_type1 = SetpointTypeCode(form.channel[k].th_type1);
    s.channel[k].th_type2 = SetpointTypeCode(form.channel[k].th_type2);
  }
  for (int k = 0; k < 2; ++k)
    CollectListIndex(form.channel[k].point, 0, DigitItems().size(), s.channel[k].point);
  for (int k = 0; k < 2; ++k) {
    CollectListIndex(form.channel[k].ns, kCountListOffset, CountItems().size(), s.channel[k].ns);
    CollectListIndex(form.channel[k].search, kCountListOffset, CountItems().size(),
                     s.channel[k].search);
  }
}

void CollectSwitches(const EditorForm& form, DeviceSettings& s) {
  for (auto& channel : s.channel) channel.ver_rel_proc = 1;
  s.general.use_max = 0;
  for (int k = 0; k < 2; ++k) s.channel[k].flag = form.channel[k].flag ? 1 : 0;
  s.general.gen_select = s.general.gen_select == 1 ? 1 : 0;
  for (auto& channel : s.channel) channel.use = channel.use != 0 ? 1 : 0;
}

// The number fields; a text that is not wholly a number leaves its field as
// it was (the check before writing stops it). The steps are kept positive.
// koef0..koef3 have no control and keep their exact values.
void CollectNumbers(const EditorForm& form, DeviceSettings& s) {
  for (int k = 0; k < 2; ++k)
    for (const NumberFieldBinding& b : kNumberFields) {
      float value = 0;
      if (!ParseEditorNumber(form.channel[k].*b.text, value)) continue;
      s.channel[k].*b.field = b.step ? std::fabs(value) : value;
    }
}

void CollectRegulatorAndErrorDisplay(const EditorForm& form, DeviceSettings& s) {
  CollectListIndex(form.reg_int, kIntervalListOffset, IntervalItems().size(), s.channel[0].reg_int);
  CollectListIndex(form.pulse_int, kPulseListOffset, PulseItems().size(), s.channel[0].pulse_int);
  CollectListIndex(form.err_ver, 0, ErrorDisplayItems().size(), s.general.err_ver);
}

// Empty or unscannable text is 0; a value above 65535 becomes 65536, whose
// two bytes are both 0. Returns false for such a value.
bool CollectSerialNumber(const std::string& text, GeneralSettings& g) {
  unsigned long long number = 0;
  // Control characters around the digits are skipped as the check skips them.
  if (!text.empty() && !ScanUnsigned(TrimBlanks(text), number)) number = 0;
  bool in_range = number <= kLargestSerialNumber;
  if (!in_range) number = kOutOfRangeSerialNumber;
  g.serial_hi = static_cast<std::int32_t>((number >> 8) & 0xFF);
  g.serial_lo = static_cast<std::int32_t>(number & 0xFF);
  return in_range;
}

}  // namespace

void EditorToSettings(const EditorForm& form, DeviceSettings& s, Operator& op) {
  CollectLists(form, s);
  CollectSwitches(form, s);
  CollectNumbers(form, s);
  CollectRegulatorAndErrorDisplay(form, s);
  RelayGridToMasks(form.relay_grid, s.relay);
  CollectListIndex(form.proc_ver, 0, DeviceTypeItems().size(), s.general.proc_ver);
  bool serial_in_range = CollectSerialNumber(form.serial_number, s.general);
  CollectListIndex(form.otk_type, 0, PrefixItems().size(), s.general.otk_type);
  if (!serial_in_range) ShowExchangeError(op, result::kBadNumber);
}

}  // namespace zrm
