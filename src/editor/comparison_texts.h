#pragma once
// Texts of the comparison with the instrument: the groups as the window's
// pages, the labels as the window's captions, the values of marks and
// switches.

#include <string_view>

namespace zrm::comparison_texts {

inline constexpr std::string_view kChannel1 = "Канал 1";
inline constexpr std::string_view kChannel2 = "Канал 2";
inline constexpr std::string_view kRelays = "Реле";
inline constexpr std::string_view kGeneral = "Общие";
inline constexpr std::string_view kOtherInstrument = "другой прибор";

// Channel captions, indexed by the channel map's field order. The offset
// field's caption on the page is a bare "0"; its hint's word names it here.
inline constexpr std::string_view kChannelLabels[] = {
    "Тип датчика",
    "Максимум",
    "Минимум",
    "Корнеизвлечение",
    "Диапазон",
    "Смещение",
    "Величина I",
    "Гистерезис I",
    "Уставка I Тип",
    "Величина II",
    "Гистерезис II",
    "Уставка II Тип",
    "Усреднение",
    "Наблюдения",
    "Работа канала",
    "Знаков",
    "Шаг изменения уставки",
    "Шаг изменения гистерезиса",
    "Полином, коэффициент 0",
    "Полином, коэффициент 1",
    "Полином, коэффициент 2",
    "Полином, коэффициент 3",
};

// Page "Настройки реле": the relays, the event columns, the regulator.
inline constexpr std::string_view kRelay1 = "Реле 1";
inline constexpr std::string_view kRelay2 = "Реле 2";
inline constexpr std::string_view kEventColumns[] = {
    "",
    "Канал 1 Уставка 1",
    "Канал 1 Уставка 2",
    "Канал 1 Обр.",
    "Канал 2 Уставка 1",
    "Канал 2 Уставка 2",
    "Канал 2 Обр.",
    "Регулятор Закр.",
    "Регулятор Откр.",
    "Регулятор Напр.",
    "Регулятор Импульс",
};
inline constexpr std::string_view kOtherMaskBits = "прочие биты маски";
inline constexpr std::string_view kFirstMaskEvents = "события канала 1 и регулятора";
inline constexpr std::string_view kSecondMaskEvents = "события канала 2";
inline constexpr std::string_view kRelayLogic = "Логика реле канала ";
inline constexpr std::string_view kDecisionInterval = "Интервал принятия решения";
inline constexpr std::string_view kMaximumPulse = "Максимальная длительность импулься";
inline constexpr std::string_view kSecondCopy = " (копия канала 2)";

// Page "Общие".
inline constexpr std::string_view kDeviceType = "Тип прибора";
inline constexpr std::string_view kErrorDisplay = "Отображение ошибки";
inline constexpr std::string_view kDeviceNumber = "Номер прибора";

// Values.
inline constexpr std::string_view kMarked = "*";
inline constexpr std::string_view kNotMarked = "—";
inline constexpr std::string_view kYes = "да";
inline constexpr std::string_view kNo = "нет";
inline constexpr std::string_view kCode = "код ";
inline constexpr std::string_view kArrow = " → ";

}  // namespace zrm::comparison_texts
