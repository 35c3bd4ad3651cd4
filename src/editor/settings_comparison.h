#pragma once
// The differences between the instrument's settings and the settings a
// write would send, field by field, named and formatted as the window shows
// them.

#include <string>
#include <vector>

#include "settings/device_settings.h"
#include "settings/written_parameters.h"

namespace zrm {

// One difference: the page group ("Канал 1", "Канал 2", "Реле", "Общие",
// or "другой прибор" for the identity), the window's label, and both
// values as the editor shows them.
struct SettingDifference {
  std::string group;
  std::string label;
  std::string instrument;
  std::string profile;

  bool operator==(const SettingDifference&) const = default;
};

// True when `target` belongs to another instrument than `instrument`: the
// device type differs, or the target knows a serial number (not 0) and its
// number or prefix differs. Profiles carry no serial number, so a profile
// freshly opened is judged by its device type alone.
bool IsOtherInstrument(const DeviceSettings& instrument, const DeviceSettings& target);

// The differences of every parameter a write of `target` sends, in the
// write's order; a relay mask yields one difference per event cell and one
// for its bits without a cell. The identity differences come first.
std::vector<SettingDifference> CompareSettings(const DeviceSettings& instrument,
                                               const DeviceSettings& target);

// "group: label: instrument → profile".
std::string DifferenceLine(const SettingDifference& d);

// "group: label" of a written parameter ("Канал 1: Величина I",
// "Реле: Реле 1, события канала 2").
std::string ParameterName(const WrittenParameter& p);

}  // namespace zrm
