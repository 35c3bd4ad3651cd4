#pragma once
// The texts of the configuration page, exactly as they are printed (double
// blanks before some colons included).

#include <string_view>

namespace zrm::report_text {

inline constexpr std::string_view kPrintDate = "Дата печати ";
inline constexpr std::string_view kDeviceLine4810 = "Прибор ЗРМ4810/11Н номер ";
inline constexpr std::string_view kDeviceLine4813 = "Прибор ЗРМ4813Н номер ";
inline constexpr std::string_view kDeviceLine4816 = "Прибор ЗРМ4816Н номер ";
// Device line of a type without wording: "Прибор код 5 номер 047-12345".
inline constexpr std::string_view kDevice = "Прибор ";
inline constexpr std::string_view kNumber = " номер ";

// The last write into the instrument the history of changes knows: its
// time, who ("ivanov (stand-3)") and, when it did not end well, its message.
inline constexpr std::string_view kLastWrite = "Последняя запись в прибор: ";
inline constexpr std::string_view kLastWriteFailed = ", завершилась ошибкой: ";

// Stands for a name or a table value a code has none of: "код 31".
inline constexpr std::string_view kCode = "код ";

inline constexpr std::string_view kUnderline =
    "_____________________________________________________";

inline constexpr std::string_view kConfiguration = "Конфигурация прибора:";
inline constexpr std::string_view kType4810 = "Тип прибора : ЗРМ 4810/11 Н";
inline constexpr std::string_view kType4813 = "Тип прибора : ЗРМ 4813 Н";
inline constexpr std::string_view kType4816 = "Тип прибора : ЗРМ 4816 Н";
inline constexpr std::string_view kSummary4810 = "Одноканальный прибор с двумя уставками.";
inline constexpr std::string_view kSummary4813 =
    "Двухканальный прибор с одной уставкой в каждом канале.";
inline constexpr std::string_view kSummary4816 =
    "Одноканальный прибор с функцией пропорционального управления задвижками.";

// Channel block.
inline constexpr std::string_view kSensorType = "Тип датчика : ";
inline constexpr std::string_view kRange = "Диапазон измерений : ";
inline constexpr std::string_view kRangeDots = "...";
inline constexpr std::string_view kAccuracy = "Пределы допустимой основной погрешности : ";
inline constexpr std::string_view kPercent = " %";
inline constexpr std::string_view kSquareRoot = "Включено корнеизвлечение";
inline constexpr std::string_view kAveraging = "Число усреднений : ";
inline constexpr std::string_view kDecimals = "Число знаков после запятой : ";

// Set points of the single-channel page (number 1 or 2 goes between).
inline constexpr std::string_view kSetpointTypeOf = "Тип уставки ";
inline constexpr std::string_view kSetpointValueOf = "Величина уставки ";
inline constexpr std::string_view kHysteresisOf = "Величина гистерезиса уставки ";
inline constexpr std::string_view kColon = " : ";
// Set point of a channel of the two-channel page.
inline constexpr std::string_view kSetpointType = "Тип уставки  : ";
inline constexpr std::string_view kSetpointValue = "Величина уставки  : ";
inline constexpr std::string_view kHysteresis = "Величина гистерезиса уставки  : ";
inline constexpr std::string_view kConfirmations = "Число подтверждений при работе реле  : ";

// Two-channel page.
inline constexpr std::string_view kChannelHeading = "Канал ";
inline constexpr std::string_view kHeadingColon = ":";

// Regulator.
inline constexpr std::string_view kTarget = "Заданная для регулирования величина : ";
inline constexpr std::string_view kZone = "Зона пропорциональности : ";
inline constexpr std::string_view kZoneDots = " ... ";
inline constexpr std::string_view kDecisionInterval =
    "Интервал времени выдачи управляющих воздействий : ";
inline constexpr std::string_view kMaxPulse = "Максимальное время управляющего импульса : ";
inline constexpr std::string_view kSeconds = " сек";

// Relay block; the relay number follows "реле " / "Реле ".
inline constexpr std::string_view kRelayLogic = "Логика работы реле ";
inline constexpr std::string_view kRelay = "Реле ";
inline constexpr std::string_view kBySetpoint1Channel1 = " сработает от уставки 1 канала 1";
inline constexpr std::string_view kBySetpoint2Channel1 = " сработает от уставки 2 канала 1";
inline constexpr std::string_view kByBreakChannel1 = " сработает от обрыва в канале 1";
inline constexpr std::string_view kBySetpoint1Channel2 = " сработает от уставки 1 канала 2";
inline constexpr std::string_view kBySetpoint2Channel2 = " сработает от уставки 2 канала 2";
inline constexpr std::string_view kByBreakChannel2 = " сработает от обрыва в канале 2";
inline constexpr std::string_view kClosesValve = " включает закрывание задвижки";
inline constexpr std::string_view kOpensValve = " включает открывание задвижки";
inline constexpr std::string_view kDrivesValve = " включает привод задвижки";
inline constexpr std::string_view kSelectsDirection = " выбирает направление привода задвижки";
inline constexpr std::string_view kDirectionWhenOn = "при срабатывании - задвижка открывается";

// Correction block.
inline constexpr std::string_view kCorrectionHeading =
    "Данные для справки. Дополнительная корректировка измеренного значения:";
inline constexpr std::string_view kShift = "0 : ";
inline constexpr std::string_view kAdjust = "Диапазон : ";
inline constexpr std::string_view kPolynomial = "Коэффициенты корректирующего полинома:";
inline constexpr std::string_view kK0 = "K0=";
inline constexpr std::string_view kK1 = " K1=";
inline constexpr std::string_view kK2 = " K2=";
inline constexpr std::string_view kK3 = " K3=";

}  // namespace zrm::report_text
