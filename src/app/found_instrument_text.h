#pragma once
// A found instrument in the words the search's results show it with.

#include <string>

#include "app/instrument_search.h"

namespace zrm {

// The device type's list item ("4813 Н Двухканальный"); "?" for a code
// outside the list.
std::string DeviceTypeName(std::int32_t device_type);

// "047-12345": the prefix in three digits, the serial number in five.
std::string SerialText(std::int32_t prefix, std::uint32_t serial_number);

// One tab-separated line without its line end: address, speed, type code,
// type name, serial, firmware C.B.A, manufacturing date d.m.yyyy; "-" in the
// identity fields when the identity reads failed.
std::string FoundInstrumentLine(const FoundInstrument& found);

// "Что-то отвечает на другой скорости: Адрес: 5 (на скорости 9600 ответ не
// читается)": the speed named is the one searched, never the other one.
std::string GarbledAnswerLine(const GarbledAnswer& garbled);

}  // namespace zrm
