#pragma once
// A record as a freshly configured two-channel instrument holds it, for the
// tests of the checks and of the editor.

#include "settings/device_settings.h"
#include "settings/sensor_types.h"

namespace zrm::test {

inline DeviceSettings SampleRecord() {
  DeviceSettings s;
  s.sensor_ranges = DefaultSensorRanges();
  for (int k = 0; k < 2; ++k) {
    ChannelSettings& c = s.channel[k];
    c.dat = 17;
    c.diap_max = 100.0f;
    c.diap_min = 0.0f;
    c.lin = 0.2f;
    c.wire = 3;
    c.ns = 1;
    c.shift = 0.0f;
    c.adj = 1.0f;
    c.th_type1 = 1;
    c.th_type2 = 2;
    c.th1 = 50.0f;
    c.th2 = 60.0f;
    c.his1 = 0.02f;
    c.his2 = 0.02f;
    c.search = 2;
    c.use = 1;
    c.point = 1;
    c.reg_int = 30;
    c.pulse_int = 5;
    c.select = 1;
    c.spd_th = 0.1f;
    c.spd_his = 0.01f;
  }
  s.relay.select = 1;
  s.relay.rel0_msk0 = 0x01;
  s.relay.rel1_msk1 = 0x04;
  s.general.gen_select = 1;
  s.general.proc_ver = 1;
  s.general.otk_type = 47;
  s.general.err_ver = 1;
  s.general.serial_hi = 0x30;
  s.general.serial_lo = 0x39;  // 12345
  s.general.firmware_version = 0x52;
  return s;
}

}  // namespace zrm::test
