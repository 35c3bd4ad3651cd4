#pragma once
// A found instrument in the words the search's results show it with.

#include <string>

#include "app/instrument_search.h"

namespace zrm {

// One tab-separated line without its line end: address, speed, type code,
// type name, serial, firmware C.B.A, manufacturing date d.m.yyyy; "-" in the
// identity fields when the identity reads failed.
std::string FoundInstrumentLine(const FoundInstrument& found);

// "Что-то отвечает на другой скорости: Адрес: 5 (на скорости 9600 ответ не
// читается)": the speed named is the one searched, never the other one.
std::string GarbledAnswerLine(const GarbledAnswer& garbled);

}  // namespace zrm
