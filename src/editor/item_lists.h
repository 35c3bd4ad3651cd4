#pragma once
// The item lists of the window's list controls, in list order (the list index
// is the position). The editor model and the window both take them from here.

#include <string>
#include <string_view>
#include <vector>

namespace zrm {

// "1".."4": serial port numbers.
const std::vector<std::string>& PortItems();
// The 25 sensor type names.
const std::vector<std::string>& SensorTypeItems();
// "Нет", "Понижение", "Повышение".
const std::vector<std::string>& SetpointTypeItems();
// "0.001", "0.01", "0.1", "1.0", "10.0": set point and hysteresis steps.
const std::vector<std::string>& StepItems();
// "0".."3": digits after the decimal point.
const std::vector<std::string>& DigitItems();
// "1".."10": averaging and observation counts.
const std::vector<std::string>& CountItems();
// "10".."240": regulator decision interval in seconds.
const std::vector<std::string>& IntervalItems();
// "5".."60": maximum regulator pulse in seconds.
const std::vector<std::string>& PulseItems();
// The three device types.
const std::vector<std::string>& DeviceTypeItems();
// "Упрощенное", "Расширенное".
const std::vector<std::string>& ErrorDisplayItems();
// "000".."255": serial number prefixes.
const std::vector<std::string>& PrefixItems();

// Fixed cell texts of the relay page grids.
// StringGrid1 column 0, rows 0..2: "Реле", "    1", "    2".
const std::vector<std::string>& RelayGridRowCaptions();
// StringGrid2 row 0, columns 0..10: "Уставка", " 1", " 2", "Обр." (channel 1),
// the same for channel 2, then the regulator outputs.
const std::vector<std::string>& SetpointGridCaptions();

}  // namespace zrm
