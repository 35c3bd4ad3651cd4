#include "monitor/monitor_texts.h"

#include <array>
#include <string_view>

namespace zrm {

namespace {

constexpr std::array<std::string_view, kStatusTextCount> kStatusTexts = {
    "Нормальное измерение",
    "Какая то ошибка",
    "Какая то ошибка",
    "Какая то ошибка",
    "Ошибка в плавающей арифметике",
    "Какая то ошибка",
    "Какая то ошибка",
    "Не отвечает канальный АЦП",
    "Выход за диапазон",
    "Обрыв",
    "Какая то ошибка",
    "Какая то ошибка",
    "Канал выключен",
    "Данные еще не готовы",
    "Ошибка компенсатора холодного спая",
    "Ошибка в градуировках",
};
constexpr std::string_view kUnnamedStatus = "Код состояния ";

constexpr std::string_view kAnswerReceived = "Получен ответ";
constexpr std::string_view kTooMuchGarbage = "В ответе много мусора, ответ не разобран";
constexpr std::string_view kNoAnswer = "Не дождались ответа";
constexpr std::string_view kParseError = "Ошибка в разборе ответа";
constexpr std::string_view kOtherError = "Какая-то ошибка в ответе";
constexpr std::string_view kPollPaused = "Опрос приостановлен";

constexpr std::array<std::string_view, 2> kSetpointCaptions = {"Уставка 1", "Уставка 2"};
constexpr std::string_view kBreakCaption = "Обрыв";
constexpr std::array<std::string_view, 2> kRelayCaptions = {"Реле 1", "Реле 2"};
constexpr std::array<std::string_view, 5> kButtonCaptions = {"1", "Гистерезис", "2", "0",
                                                             "Диапазон"};

constexpr std::string_view kTimeColumn = "Время";
constexpr std::string_view kChannelColumn = "Канал ";
constexpr std::string_view kStatusColumn = "Состояние канала ";
constexpr std::string_view kSetpointColumn = "Уставка ";
constexpr std::string_view kOfChannel = " канала ";

constexpr std::string_view kStartReading = "Начать чтение";
constexpr std::string_view kPauseReading = "Приостановить чтение";

// Item `index` of `table`, or empty outside it.
template <std::size_t N>
std::string ItemOf(const std::array<std::string_view, N>& table, int index) {
  if (index < 0 || index >= static_cast<int>(N)) return {};
  return std::string(table[static_cast<std::size_t>(index)]);
}

}  // namespace

std::string StatusText(std::uint8_t code) {
  if (code < kStatusTexts.size()) return std::string(kStatusTexts[code]);
  return std::string(kUnnamedStatus) + std::to_string(code);
}

std::string LinkStateText(ExchangeResult result) {
  switch (result) {
    case result::kOk: return std::string(kAnswerReceived);
    case result::kTooManyChars: return std::string(kTooMuchGarbage);
    case result::kNoAnswer: return std::string(kNoAnswer);
    case result::kNotUnderstood: return std::string(kParseError);
    default: return std::string(kOtherError);
  }
}

std::string PollPausedText() { return std::string(kPollPaused); }

std::string SetpointLampCaption(int setpoint) { return ItemOf(kSetpointCaptions, setpoint - 1); }

std::string BreakLampCaption() { return std::string(kBreakCaption); }

std::string RelayLampCaption(int relay) { return ItemOf(kRelayCaptions, relay - 1); }

std::string ButtonLampCaption(int bit) { return ItemOf(kButtonCaptions, bit); }

std::string TimeColumnCaption() { return std::string(kTimeColumn); }

std::string ChannelColumnCaption(int channel) {
  return std::string(kChannelColumn) + std::to_string(channel);
}

std::string StatusColumnCaption(int channel) {
  return std::string(kStatusColumn) + std::to_string(channel);
}

std::string SetpointColumnCaption(int setpoint, int channel) {
  return std::string(kSetpointColumn) + std::to_string(setpoint) + std::string(kOfChannel) +
         std::to_string(channel);
}

std::string ReadingButtonText(bool paused) {
  return std::string(paused ? kStartReading : kPauseReading);
}

}  // namespace zrm
