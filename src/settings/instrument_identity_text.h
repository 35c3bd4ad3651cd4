#pragma once
// The words an instrument is known by, the same in the window, the command
// line, the backups and journal, and the gateway: its type, model number,
// device number and firmware version.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/device_settings.h"

namespace zrm {

// The device type codes 0..2 as the window's type list names them.
extern const std::array<std::string_view, 3> kDeviceTypeNames;

// The device type's name ("4813 Н Двухканальный"); "?" for a code outside
// the list.
std::string DeviceTypeName(std::int32_t device_type);

// The model number of a device type code ("4810", "4813", "4816"), the
// code in decimal for a code without a model.
std::string ModelNumber(std::int32_t device_type);

// "047-12345": the prefix in three digits, the serial number in five.
std::string SerialText(std::int32_t prefix, std::uint32_t serial_number);

// The record's device number as SerialText gives it, its prefix taken as
// the byte the instrument holds (serial 42 is "047-00042").
std::string DeviceNumber(const GeneralSettings& g);

// "ZRM4813-047-12345": the instrument as the files about it are named
// (backups, write journal entries).
std::string InstrumentFileStem(const GeneralSettings& g);

// "C.B.A": C = the value shifted right by 6, B = bits 5..4, A = bits 3..0,
// each in decimal. 0x93 gives "2.1.3", 0x5A gives "1.1.10".
std::string FirmwareVersionText(std::int32_t firmware_version);

}  // namespace zrm
