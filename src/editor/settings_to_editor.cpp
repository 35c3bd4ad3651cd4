#include <cstdint>
#include <string>
#include <string_view>

#include "editor/editor_binding.h"
#include "editor/editor_number.h"
#include "editor/item_lists.h"
#include "editor/list_selection.h"
#include "editor/relay_grid.h"
#include "settings/instrument_identity_text.h"
#include "settings/sensor_types.h"

namespace zrm {

namespace {

constexpr std::size_t kHeaderCharacters = 7;  // grid header: start of the type name

// Grid columns of a channel's set points: th1 / th_type1, then th2 / th_type2.
constexpr int kSetpointColumns[2][2] = {{1, 2}, {4, 5}};

// The first `count` characters of a UTF-8 text (not bytes: the names are
// Cyrillic).
std::string FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t chars = 0; end < text.size() && chars < count; ++chars) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return std::string(text.substr(0, end));
}

std::string SetpointHeader(int index) {
  if (index < 0) return "";
  return FirstCharacters(SetpointTypeItems()[index], kHeaderCharacters);
}

void ShowGeneral(const DeviceSettings& s, EditorForm& form, int port_number) {
  form.firmware_version = FirmwareVersionText(s.general.firmware_version);
  form.port_label = std::to_string(port_number);
  form.port = ListIndexOf(port_number, kPortListOffset, PortItems().size());
  form.serial_number = std::to_string(SerialNumber(s.general));
  form.otk_type = s.general.otk_type & 0xFF;
  form.err_ver = ListIndexOf(s.general.err_ver, 0, ErrorDisplayItems().size());
}

void MarkGroupAreas(const DeviceSettings& s, EditorForm& form) {
  form.channel1_area_white = s.channel[0].select == 1;
  form.channel2_area_white = s.channel[1].select == 1;
  form.general_area_white = s.general.gen_select == 1;
}

// Unified-signal defaults (one-shot, when use_max is 1), then the sensor
// range rule: a sensor that is not a unified signal always shows its
// sensor's range. Codes outside 0..24 read no table entry.
void ApplyRangeRules(DeviceSettings& s) {
  for (auto& channel : s.channel) {
    if (s.general.use_max == 1) UnifiedSignalRange(channel.dat, channel.diap_max, channel.diap_min);
  }
  for (auto& channel : s.channel) {
    if (!UsesSensorRange(channel.dat)) continue;
    const SensorRange& range = s.sensor_ranges[channel.dat];
    channel.diap_max = range.max;
    channel.diap_min = range.min;
  }
}

void ShowChannel(const ChannelSettings& c, int k, EditorForm& form) {
  ChannelForm& f = form.channel[k];
  f.dat = ListIndexOf(c.dat, 0, SensorTypeItems().size());
  f.diap_max = FormatEditorNumber(c.diap_max);
  f.diap_min = FormatEditorNumber(c.diap_min);
  f.shift = FormatEditorNumber(c.shift);
  f.adj = FormatEditorNumber(c.adj);
  f.th1 = FormatEditorNumber(c.th1);
  f.th2 = FormatEditorNumber(c.th2);
  f.his1 = FormatEditorNumber(c.his1);
  f.his2 = FormatEditorNumber(c.his2);
  f.spd_th = FormatEditorNumber(c.spd_th);
  f.spd_his = FormatEditorNumber(c.spd_his);
  form.setpoint_grid[1][kSetpointColumns[k][0]] = f.th1;
  form.setpoint_grid[1][kSetpointColumns[k][1]] = f.th2;
  f.th_type1 = SetpointTypeIndex(c.th_type1);
  f.th_type2 = SetpointTypeIndex(c.th_type2);
  form.relay_grid[0][kSetpointColumns[k][0]] = SetpointHeader(f.th_type1);
  form.relay_grid[0][kSetpointColumns[k][1]] = SetpointHeader(f.th_type2);
  f.ns = ListIndexOf(c.ns, kCountListOffset, CountItems().size());
  f.point = ListIndexOf(c.point, 0, DigitItems().size());
  f.search = ListIndexOf(c.search, kCountListOffset, CountItems().size());
  f.flag = c.flag != 0;
}

}  // namespace

void SettingsToEditor(DeviceSettings& s, EditorForm& form, int port_number) {
  ShowGeneral(s, form, port_number);
  MarkGroupAreas(s, form);
  ApplyRangeRules(s);
  for (int k = 0; k < 2; ++k) ShowChannel(s.channel[k], k, form);
  form.reg_int = ListIndexOf(s.channel[0].reg_int, kIntervalListOffset, IntervalItems().size());
  form.pulse_int = ListIndexOf(s.channel[0].pulse_int, kPulseListOffset, PulseItems().size());
  form.proc_ver = ListIndexOf(s.general.proc_ver, 0, DeviceTypeItems().size());
  MasksToRelayGrid(s.relay, form.relay_grid);
}

}  // namespace zrm
