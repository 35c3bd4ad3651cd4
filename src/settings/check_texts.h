#pragma once
// The texts of the checks before writing: captions, field messages,
// questions and remarks, exactly as the instrument's users know them.

#include <array>
#include <string_view>

namespace zrm::check_text {

// CheckFieldTexts: group captions.
inline constexpr std::string_view kChannel1Fields = "Ошибка задания параметров канала 1.";
inline constexpr std::string_view kChannel2Fields = "Ошибка задания параметров канала 2.";
inline constexpr std::string_view kGeneralFields = "Ошибка задания общеприборных параметров.";

// CheckFieldTexts: field messages.
inline constexpr std::string_view kDiapMin = "Ошибка задания минимума диапазона.";
inline constexpr std::string_view kSerialNumber = "Ошибка задания заводского номера прибора.";
inline constexpr std::string_view kDiapMax = "Ошибка задания максимума диапазона.";
inline constexpr std::string_view kShift = "Ошибка задания смещения диапазона.";
inline constexpr std::string_view kAdj = "Ошибка задания подстройки диапазона.";
inline constexpr std::string_view kTh1 = "Ошибка задания уставки 1.";
inline constexpr std::string_view kTh2 = "Ошибка задания уставки 2.";
inline constexpr std::string_view kHis1 = "Ошибка задания гистерезиса уставки 1.";
inline constexpr std::string_view kHis2 = "Ошибка задания гистерезиса уставки 2.";
inline constexpr std::string_view kSpdTh = "Ошибка задания скорости изменения уставки.";
inline constexpr std::string_view kSpdHis1 = "Ошибка задания скорости изменения гистерезиса.";
inline constexpr std::string_view kSpdHis2 =
    "Ошибка задания скорости изменения гистерезиса уставки.";
inline constexpr std::string_view kKoef0 = "Ошибка задания коэффициента 1 полинома.";
inline constexpr std::string_view kKoef1 = "Ошибка задания коэффициента 2 полинома.";
inline constexpr std::string_view kKoef2 = "Ошибка задания коэффициента 3 полинома.";
inline constexpr std::string_view kKoef3 = "Ошибка задания коэффициента 4 полинома.";

// CheckRelayLogic.
inline constexpr std::string_view kRelayCaption = "Ошибка в настройках реле ";
inline constexpr std::string_view kSingleRelay1OnChannel2 =
    "В одноканальном приборе реле 1 назначено на второй канал. Записать так как есть?";
inline constexpr std::string_view kSingleRelay2OnChannel2 =
    "В одноканальном приборе реле 2 назначено на второй канал. Записать так как есть?";
inline constexpr std::string_view kSingleRelay1OnValve =
    "В одноканальном приборе реле 1 назначено на управление задвижкой. Записать так как есть?";
inline constexpr std::string_view kSingleRelay2OnValve =
    "В одноканальном приборе реле 2 назначено на управление задвижкой. Записать так как есть?";
inline constexpr std::string_view kDualRelay1OnSetpoint2Channel1 =
    "В двухканальном приборе реле 1 назначено на вторую уставку первого канала. Записать так "
    "как есть?";
inline constexpr std::string_view kDualRelay2OnSetpoint2Channel1 =
    "В двухканальном приборе реле 2 назначено на вторую уставку первого канала. Записать так "
    "как есть?";
inline constexpr std::string_view kDualRelay1OnSetpoint2Channel2 =
    "В двухканальном приборе реле 1 назначено на вторую уставку второго канала. Записать так "
    "как есть?";
inline constexpr std::string_view kDualRelay2OnSetpoint2Channel2 =
    "В двухканальном приборе реле 2 назначено на вторую уставку второго канала. Записать так "
    "как есть?";
// Two blanks after "двухканальном", as the users have always seen it.
inline constexpr std::string_view kDualRelay1OnValve =
    "В двухканальном  приборе реле 1 назначено на управление задвижкой. Записать так как есть?";
inline constexpr std::string_view kDualRelay2OnValve =
    "В двухканальном  приборе реле 2 назначено на управление задвижкой. Записать так как есть?";
inline constexpr std::string_view kValveRelay1AlsoOnEvents =
    "В приборе управляющем задвижками реле 1 назначено еще и на уставки или обрыв. Записать так "
    "как есть?";
inline constexpr std::string_view kValveRelay2AlsoOnEvents =
    "В приборе управляющем задвижками реле 2 назначено еще и на уставки или обрыв. Записать так "
    "как есть?";
inline constexpr std::string_view kValveRelay1Source =
    "Для реле 1 неправильно выбран источник срабатывания. Записать так как есть?";
inline constexpr std::string_view kValveRelay2Source =
    "Для реле 2 неправильно выбран источник срабатывания. Записать так как есть?";

// CheckChannel: captions, followed by the channel number.
inline constexpr std::string_view kChannelErrorCaption = "Ошибка в настройках канала ";
inline constexpr std::string_view kChannelRemarkCaption = "Замечание по настройкам канала ";

// CheckChannel: error rows.
inline constexpr std::string_view kTh1TooBig =
    "Слишком большая величина уставки 1 она будет ограничена величиной 9999. Записать так ?";
inline constexpr std::string_view kTh2TooBig =
    "Слишком большая величина уставки 2 она будет ограничена величиной 9999. Записать так ?";
inline constexpr std::string_view kTh1TooSmall =
    "Слишком маленькая величина уставки 1 она будет ограничена величиной -999. Записать так ?";
inline constexpr std::string_view kTh2TooSmall =
    "Слишком маленькая величина уставки 2 она будет ограничена величиной -999. Записать так ?";
inline constexpr std::string_view kDiapMaxTooBig =
    "Слишком большой максимальный диапазон. Он будет ограничен величиной 9999.999. Записать так "
    "как есть?";
inline constexpr std::string_view kDiapMaxTooSmall =
    "Слишком маленький максимум диапазона. Прибор, скорее всего, не будет работать правильно.";
inline constexpr std::string_view kDiapMinTooBig =
    "Слишком большой минимальный диапазон. Прибор, скорее всего, не будет работать правильно.";
inline constexpr std::string_view kDiapMinTooSmall =
    "Слишком маленький минимальный диапазон. Он будет ограничен величиной -999.0. Записать так "
    "как есть?";
inline constexpr std::string_view kRangeOrder =
    "Неправильное соотношение между диапазонами. Прибор не будет работать правильно.";
inline constexpr std::string_view kHis1Negative =
    "Задан отрицательный гистерезис 1. Прибор не будет работать правильно.";
inline constexpr std::string_view kHis2Negative =
    "Задан отрицательный гистерезис 2. Прибор не будет работать правильно.";
inline constexpr std::string_view kHis1Zero =
    "Задан нулевой гистерезис 1. Прибор не будет работать правильно.";
inline constexpr std::string_view kHis2Zero =
    "Задан нулевой гистерезис 2. Прибор не будет работать правильно.";
inline constexpr std::string_view kHis1AboveRange =
    "Задан гистерезис 1 превышающий максимум диапазона. Прибор не будет работать правильно.";
inline constexpr std::string_view kHis2AboveRange =
    "Задан гистерезис 2 превышающий максимум диапазона. Прибор не будет работать правильно.";
inline constexpr std::string_view kLineNegative =
    "Задано отрицательное сопротивление линии для двухпроводного включения. Прибор не будет "
    "работать правильно.";

// CheckChannel: remark rows.
inline constexpr std::string_view kAveragingTooLarge =
    "При таком усреднении в канале теряется динамика отображения.Записать так как есть?";
inline constexpr std::string_view kSpdThTooBig =
    "Слишком большой шаг изменения уставки. Он будет ограничен 10. Записать так?";
inline constexpr std::string_view kSpdHisTooBig =
    "Слишком большой шаг изменения гистерезиса уставки. Он будет ограничен 10. Записать так?";
inline constexpr std::string_view kSpdThTooSmall =
    "Слишком маленький шаг изменения уставки. Он будет сделан равным 0.001. Записать так?";
inline constexpr std::string_view kSpdHisTooSmall =
    "Слишком маленький шаг изменения гистерезиса уставки. Он будет сделан равным 0.001. "
    "Записать так?";

}  // namespace zrm::check_text
