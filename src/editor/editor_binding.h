#pragma once
// The two operations that move values between the editor form and the
// settings record, and the handlers built from them.

#include "editor/editor_form.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Collects every control of the form into the record. Lists without a
// selection leave their field as it is (the set point type lists give 0);
// koef0..koef3, lin, wire, text, unit, the group switches of the channels
// and the relay logic, the calibration values, the manufacturing date and
// the firmware version are not touched. Sets use_max to 0 and ver_rel_proc
// of both channels to 1. A serial number above 65535 is stored as 0 and,
// once everything is collected, reported as result 23 through `op`.
void EditorToSettings(const EditorForm& form, DeviceSettings& s, Operator& op);

// Shows the record in the form. First applies the unified-signal defaults
// (when use_max is 1) and the sensor range rule to diap_max / diap_min of
// the record, then fills every bound control; `port_number` is the serial
// port of the workstation (1..4). The description lines are not touched.
void SettingsToEditor(DeviceSettings& s, EditorForm& form, int port_number);

// The user picked a sensor type (ComboBox1 or ComboBox7) or switched pages
// of the notebook: collect, then show again, so a
// new sensor's range appears at once. A number field holding a text that is
// not a number keeps that text, so the user sees what to correct.
void SensorTypeChange(EditorForm& form, DeviceSettings& s, Operator& op, int port_number);
void PageChange(EditorForm& form, DeviceSettings& s, Operator& op, int port_number);

}  // namespace zrm
