#pragma once
// The record and form the command tests start from: a configured
// two-channel instrument shown in the editor.

#include "editor/editor_binding.h"
#include "editor/editor_form.h"
#include "settings/device_settings.h"
#include "settings/sensor_types.h"

namespace zrm::test {

inline DeviceSettings CommandTestRecord() {
  DeviceSettings s;
  s.sensor_ranges = DefaultSensorRanges();
  for (ChannelSettings& c : s.channel) {
    c.dat = 17;
    c.diap_max = 100.0f;
    c.lin = 0.2f;
    c.ns = 1;
    c.adj = 1.0f;
    c.th_type1 = 1;
    c.th_type2 = 2;
    c.th1 = 50.0f;
    c.th2 = 60.0f;
    c.his1 = 0.02f;
    c.his2 = 0.02f;
    c.search = 2;
    c.point = 1;
    c.reg_int = 30;
    c.pulse_int = 5;
    c.select = 1;
    c.spd_th = 0.1f;
    c.spd_his = 0.01f;
  }
  s.relay.select = 1;
  s.relay.rel0_msk0 = 0x01;
  s.relay.rel1_msk1 = 0x01;
  s.general.gen_select = 1;
  s.general.proc_ver = 1;
  s.general.otk_type = 47;
  s.general.err_ver = 1;
  return s;
}

inline EditorForm ShownForm(DeviceSettings& s, int port_number = 1) {
  EditorForm form;
  SettingsToEditor(s, form, port_number);
  return form;
}

}  // namespace zrm::test
