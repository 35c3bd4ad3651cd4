#pragma once
// The texts of the profile files and their messages, exactly as the program
// has always written and shown them (UTF-8 here, cp1251 on disk).

#include <array>
#include <string_view>

namespace zrm::profile_texts {

// Shown with the file's path when a profile cannot be written.
inline constexpr std::string_view kUnableToWrite = "Unable to write to ";
inline constexpr std::string_view kErrorCaption = "Ошибка";

// "Definition" txt0 of a profile that lacks the key (its spelling kept).
inline constexpr std::string_view kAbsentDescription =
    "Прибор ЗРМ48ХХ Н. Описение настроек текущего профиля.";
// "Definition" txt0 of a newly created profile.
inline constexpr std::string_view kNewDescription =
    "Прибор ЗРМ 48XX Н. Описание настроек текущего профиля.";

// Channel name of a "CH%u" section; the channel number follows.
inline constexpr std::string_view kChannelName = "Канал ";

// One default model profile: file name and description lines txt0..txt2.
struct DefaultProfileText {
  std::string_view file;
  std::array<std::string_view, 3> lines;
};

inline constexpr std::string_view kOneSetpointPerChannel =
    "В каждом канале одна уставка. Реле 1 назначено на 1 уставку первого канала, реле 2 - на 1 "
    "уставку второго канала.";
inline constexpr std::string_view kRelaysOff = "Реле отключены.";

inline constexpr std::array<DefaultProfileText, 9> kDefaultProfiles = {{
    {"ZRM4810.prf",
     {"Прибор ЗРМ 4810 Н. Одноканальный прибор.", "Реле 1 назначено на 1 уставку.",
      "Реле 2 сработает при обрыве датчика или при срабатывании второй уставки"}},
    {"ZRM4811.prf",
     {"Прибор ЗРМ 4811 Н. Одноканальный прибор.",
      "Две уставки. Реле 1 назначено на 1 уставку, реле 2 - на вторую.", ""}},
    {"ZRM4813.prf", {"Прибор ЗРМ 4813 Н. Двухканальный прибор.", kOneSetpointPerChannel, ""}},
    {"ZRM4816.prf",
     {"Прибор ЗРМ 4816 Н. Одноканальный прибор с пропорциональным управлением задвижкой.",
      "Реле 1 включает задвижку на закрытие, реле 2 - на открытие.", ""}},
    {"ZRM48XX_progon.prf",
     {"Профиль для технологического прогона. Двухканальный прибор.", kOneSetpointPerChannel, ""}},
    {"ZRM48XX_pogrR.prf",
     {"Определение погрешности по R. Двухканальный прибор.", kRelaysOff, ""}},
    {"ZRM48XX_pogrU100.prf",
     {"Определение погрешности по 100 мВ. Двухканальный прибор.", kRelaysOff, ""}},
    {"ZRM48XX_pogrU10.prf",
     {"Определение погрешности по U 10 В. Двухканальный прибор.", kRelaysOff, ""}},
    {"ZRM48XX_pogrI.prf",
     {"Определение погрешности по I. Двухканальный прибор.", kRelaysOff, ""}},
}};

}  // namespace zrm::profile_texts
