#pragma once
// The link's own texts, exactly as the user sees them.

#include <array>

#include "link/exchange_log.h"
#include "platform/operator.h"

namespace zrm::link_texts {

inline constexpr const char* kErrorCaption = "Ошибка";
inline constexpr const char* kSettingsRemarkCaption = "Замечание по настройкам";
inline constexpr const char* kUserInfoCaption = "Информация пользователю";

inline constexpr const char* kCannotOpenPort = "Невозможно открыть последовательный порт";

struct ResultRow {
  const char* text;
  const char* caption;
  MessageIcon icon;
};

// Message of each result 1..24, in order.
inline constexpr std::array<ResultRow, 24> kResultRows = {{
    {"Слишком много символов  (ERR 1)", kErrorCaption, MessageIcon::kError},
    {"Прибор не ответил (ERR 2)", kErrorCaption, MessageIcon::kError},
    {"Прибор не смог разобрать команду (ERR 3)", kErrorCaption, MessageIcon::kError},
    {"Слишком большой операнд (ERR 4)", kErrorCaption, MessageIcon::kError},
    {"Слишком большой адрес (ERR 5)", kErrorCaption, MessageIcon::kError},
    {"Ответ поврежден- не сошлась контрольная сумма (ERR 6)", kErrorCaption, MessageIcon::kError},
    {"Прибор сообщает о какой-то ошибке (ERR 7)", kErrorCaption, MessageIcon::kError},
    {"Ошибка доступа к модулю АЦП (ERR 8)", kErrorCaption, MessageIcon::kError},
    {"Нет ответа модуля (ERR 9)", kErrorCaption, MessageIcon::kError},
    {"Такого модуля в приборе нет (ERR 10)", kErrorCaption, MessageIcon::kError},
    {"Ошибка контрольной суммы модуля (ERR 11)", kErrorCaption, MessageIcon::kError},
    {"Слишком большой адрес в запросе модуля (ERR 12)", kErrorCaption, MessageIcon::kError},
    {"Ошибка при ответе модуля (ERR 13)", kErrorCaption, MessageIcon::kError},
    {"Файл не открывается (ERR 14)", kErrorCaption, MessageIcon::kError},
    {"Не совпадает записанное и прочитанное (ERR 15)", kErrorCaption, MessageIcon::kError},
    {"Прекратили запись для уточнения настроек (ERR 16)", kSettingsRemarkCaption,
     MessageIcon::kWarning},
    {"Прекратили запись чтобы поправить настройки (ERR 17)", kSettingsRemarkCaption,
     MessageIcon::kWarning},
    {"Ошибка в операциях Windows при разборе ответа (ERR 18)", kErrorCaption, MessageIcon::kError},
    {"Формат ответа не похож на ожидаемый (ERR 19)", kErrorCaption, MessageIcon::kError},
    {"Ход процесса остановлен пользователем (ERR 20)", kUserInfoCaption, MessageIcon::kWarning},
    {"Передано число не являющееся числом с плавающей запятой (ERR 21)", kErrorCaption,
     MessageIcon::kError},
    {"Параметр не найден (ERR 22)", kErrorCaption, MessageIcon::kError},
    {"Неправильно задано число (ERR 23)", kErrorCaption, MessageIcon::kError},
    {"Ответ прибора не относится к запросу (ERR 24)", kErrorCaption, MessageIcon::kError},
}};

// Why the exchange log shows a reply as discarded.
constexpr const char* DiscardReasonText(DiscardReason why) {
  switch (why) {
    case DiscardReason::kOtherAddress: return "ответ другого прибора";
    case DiscardReason::kOtherRequest: return "ответ на другой запрос";
    case DiscardReason::kCrossed: return "два ответа на один запрос";
    case DiscardReason::kStale: return "остался от прежнего обмена";
  }
  return "";
}

}  // namespace zrm::link_texts
