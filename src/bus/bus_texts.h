#pragma once
// The bus poller's own texts, exactly as the user sees them.

namespace zrm::bus_texts {

// Address lists ("1-3,7"): what is wrong with one; the text given follows.
inline constexpr const char* kEmptyAddressList = "Не задан ни один адрес прибора.";
inline constexpr const char* kBadAddress = "Адрес прибора должен быть числом от 1 до 255: ";
inline constexpr const char* kReversedRange =
    "В диапазоне адресов первый адрес больше последнего: ";
inline constexpr const char* kRepeatedAddress = "Адрес прибора указан дважды: ";

// A write through the bus poller that cannot even begin.
inline constexpr const char* kNotPolledAddress = "Прибор с этим адресом не опрашивается на линии: ";
inline constexpr const char* kNoSuchLine = "Нет такой линии опроса.";
inline constexpr const char* kNotANumber = "Записываемое значение должно быть числом.";
inline constexpr const char* kPollingStopped = "Опрос линии остановлен, запись не выполнена.";
// What a failed plant write left in the instrument: "…; в приборе сейчас:
// уставка 1 канала 1 выключена (тип 0)".
inline constexpr const char* kHoldsNow = "; в приборе сейчас: ";
inline constexpr const char* kSetPoint = "уставка ";
inline constexpr const char* kOfChannel = " канала ";
inline constexpr const char* kSwitchedOff = " выключена (тип 0)";
inline constexpr const char* kQueueFull =
    "Очередь записи линии заполнена (16 записей), запись не принята.";

}  // namespace zrm::bus_texts
