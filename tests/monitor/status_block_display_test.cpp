// Decoding of the status block and what the page shows for it.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "monitor/current_values_poll.h"
#include "monitor/current_values_view.h"
#include "monitor/monitor_texts.h"
#include "scripted_status_link.h"

namespace zrm {
namespace {

// A block with the given channel value bytes (most significant first) and
// status codes; everything else zero.
StatusBlock Block(std::array<std::uint8_t, 4> value1, std::uint8_t status1,
                  std::array<std::uint8_t, 4> value2 = {0, 0, 0, 0}, std::uint8_t status2 = 0) {
  StatusBlock b{};
  for (int i = 0; i < 4; ++i) {
    b[4 + i] = value1[i];
    b[10 + i] = value2[i];
  }
  b[8] = status1;
  b[14] = status2;
  return b;
}

CurrentValuesView Shown(const StatusBlock& block, CurrentValues& held) {
  DecodeStatusBlock(block, held);
  return ShowCurrentValues(held);
}

TEST(StatusBlockDisplay, ValuesOutsideTheDisplayRangeAreClampedAndReplaceTheHeldValue) {
  CurrentValues held;
  // 12345.0 and -5000.0 as IEEE single precision.
  CurrentValuesView v = Shown(Block({0x46, 0x40, 0xE4, 0x00}, 0, {0xC5, 0x9C, 0x40, 0x00}, 0), held);
  EXPECT_EQ(v.channel[0].value.text, "10000.0000");
  EXPECT_EQ(v.channel[1].value.text, "-1000.0000");
  EXPECT_EQ(held.channel[0].value, 10000.0f);
  EXPECT_EQ(held.channel[1].value, -1000.0f);
}

TEST(StatusBlockDisplay, InfinitiesAndTheLimitsThemselves) {
  CurrentValues held;
  CurrentValuesView v = Shown(Block({0x7F, 0x80, 0x00, 0x00}, 0, {0xFF, 0x80, 0x00, 0x00}, 0), held);
  EXPECT_EQ(v.channel[0].value.text, "10000.0000");
  EXPECT_EQ(v.channel[1].value.text, "-1000.0000");
  EXPECT_EQ(ClampDisplayValue(10000.0f), 10000.0f);
  EXPECT_EQ(ClampDisplayValue(-1000.0f), -1000.0f);
  EXPECT_EQ(ClampDisplayValue(-999.5f), -999.5f);
}

TEST(StatusBlockDisplay, SignallingNaNBecomesFloatErrorWhateverTheSentCode) {
  CurrentValues held;
  // Channel 1 sNaN with code 0 sent; channel 2 negative sNaN with code 9 sent.
  CurrentValuesView v = Shown(Block({0x7F, 0x80, 0x00, 0x01}, 0, {0xFF, 0xA0, 0x00, 0x00}, 9), held);
  EXPECT_EQ(v.channel[0].value.text, "-444.0000");
  EXPECT_EQ(v.channel[0].status.text, "Ошибка в плавающей арифметике");
  EXPECT_EQ(v.channel[0].value.colour, BoxColour::kYellow);
  EXPECT_EQ(v.channel[0].status.colour, BoxColour::kYellow);
  EXPECT_EQ(held.channel[0].status, 4);
  EXPECT_EQ(v.channel[1].value.text, "-444.0000");
  EXPECT_EQ(held.channel[1].status, 4);
}

TEST(StatusBlockDisplay, QuietNaNShowsTheLowerLimitWithTheSentStatus) {
  CurrentValues held;
  CurrentValuesView v = Shown(Block({0xFF, 0xFF, 0xFF, 0xFF}, 8, {0x7F, 0xC0, 0x00, 0x00}, 0), held);
  EXPECT_EQ(v.channel[0].value.text, "-1000.0000");
  EXPECT_EQ(v.channel[0].status.text, "Выход за диапазон");
  EXPECT_EQ(held.channel[0].status, 8);
  EXPECT_EQ(v.channel[1].value.text, "-1000.0000");
  EXPECT_EQ(v.channel[1].status.text, "Нормальное измерение");
  EXPECT_EQ(held.channel[1].value, -1000.0f);
}

TEST(StatusBlockDisplay, ColoursFollowTheStatusCode) {
  CurrentValues held;
  CurrentValuesView v = Shown(Block({0x41, 0xBC, 0, 0}, 0, {0x41, 0xBC, 0, 0}, 12), held);
  EXPECT_EQ(v.channel[0].value.text, " 23.5000");
  EXPECT_EQ(v.channel[0].value.colour, BoxColour::kWhite);
  EXPECT_EQ(v.channel[0].status.colour, BoxColour::kButtonFace);
  EXPECT_EQ(v.channel[1].value.colour, BoxColour::kButtonFace);
  EXPECT_EQ(v.channel[1].status.colour, BoxColour::kButtonFace);
  EXPECT_EQ(v.channel[1].status.text, "Канал выключен");

  v = Shown(Block({0, 0, 0, 0}, 13, {0, 0, 0, 0}, 9), held);
  EXPECT_EQ(v.channel[0].value.colour, BoxColour::kYellow);
  EXPECT_EQ(v.channel[0].status.colour, BoxColour::kYellow);
  EXPECT_EQ(v.channel[0].status.text, "Данные еще не готовы");
  EXPECT_EQ(v.channel[1].status.text, "Обрыв");
}

TEST(StatusBlockDisplay, StatusTextTableAndCodesBeyondIt) {
  // The codes with a name of their own; every other code below 16 is the
  // general error.
  const std::map<int, std::string> named = {
      {0, "Нормальное измерение"},  {4, "Ошибка в плавающей арифметике"},
      {7, "Не отвечает канальный АЦП"}, {8, "Выход за диапазон"},
      {9, "Обрыв"},                   {12, "Канал выключен"},
      {13, "Данные еще не готовы"},   {14, "Ошибка компенсатора холодного спая"},
      {15, "Ошибка в градуировках"}};
  for (int code = 0; code < 16; ++code) {
    const auto name = named.find(code);
    EXPECT_EQ(StatusText(static_cast<std::uint8_t>(code)),
              name == named.end() ? "Какая то ошибка" : name->second)
        << code;
  }
  CurrentValues held;
  CurrentValuesView v = Shown(Block({0, 0, 0, 0}, 16, {0, 0, 0, 0}, 255), held);
  EXPECT_EQ(v.channel[0].status.text, "Код состояния 16");
  EXPECT_EQ(v.channel[1].status.text, "Код состояния 255");
  EXPECT_EQ(v.channel[0].status.colour, BoxColour::kYellow);
}

TEST(StatusBlockDisplay, LampsFollowTheirBits) {
  StatusBlock b{};
  b[2] = 0x02;  // relay 2
  b[3] = 0x11;  // button "1" and "Диапазон"
  b[9] = 0x05;  // channel 1 set point 1 and break
  b[15] = 0x02; // channel 2 set point 2
  CurrentValues held;
  CurrentValuesView v = Shown(b, held);
  EXPECT_EQ(v.key[0].colour, BoxColour::kYellow);
  EXPECT_EQ(v.key[0].text, "1");
  EXPECT_EQ(v.key[4].colour, BoxColour::kYellow);
  EXPECT_EQ(v.key[4].text, "Диапазон");
  for (const PanelBox* off : {&v.key[1], &v.key[2], &v.key[3], &v.encoder[0], &v.encoder[1]}) {
    EXPECT_EQ(off->colour, BoxColour::kButtonFace);
  }
  EXPECT_EQ(v.relay[0].colour, BoxColour::kButtonFace);
  EXPECT_EQ(v.relay[1].colour, BoxColour::kYellow);
  EXPECT_EQ(v.relay[1].text, "Реле 2");
  EXPECT_EQ(v.channel[0].setpoint1.colour, BoxColour::kYellow);
  EXPECT_EQ(v.channel[0].setpoint2.colour, BoxColour::kButtonFace);
  EXPECT_EQ(v.channel[0].sensor_break.colour, BoxColour::kYellow);
  EXPECT_EQ(v.channel[0].sensor_break.text, "Обрыв");
  EXPECT_EQ(v.channel[1].setpoint1.colour, BoxColour::kButtonFace);
  EXPECT_EQ(v.channel[1].setpoint2.colour, BoxColour::kYellow);
  EXPECT_EQ(v.channel[1].setpoint2.text, "Уставка 2");
  EXPECT_EQ(v.channel[1].sensor_break.colour, BoxColour::kButtonFace);

  b[3] = 0x6E;  // the other buttons and both encoder signals
  v = Shown(b, held);
  EXPECT_EQ(v.key[0].colour, BoxColour::kButtonFace);
  EXPECT_EQ(v.key[4].colour, BoxColour::kButtonFace);
  for (const PanelBox* on : {&v.key[1], &v.key[2], &v.key[3], &v.encoder[0], &v.encoder[1]}) {
    EXPECT_EQ(on->colour, BoxColour::kYellow);
  }
  EXPECT_EQ(v.key[1].text, "Гистерезис");
}

TEST(StatusBlockDisplay, BeforeTheFirstAnswerNothingIsShownAsMeasured) {
  CurrentValues held;
  CurrentValuesView v = ShowCurrentValues(held);
  for (const PanelBox* box : {&v.channel[0].value, &v.channel[1].value, &v.channel[0].status,
                              &v.channel[1].status, &v.link_state})
    EXPECT_EQ(box->text, "");
  EXPECT_EQ(v.channel[0].setpoint1.text, "Уставка 1");
  EXPECT_EQ(v.relay[1].text, "Реле 2");
  for (const auto& [name, box] : NamedBoxes(v))
    EXPECT_EQ(box->colour, BoxColour::kButtonFace) << name;
  EXPECT_FALSE(v.last_known);

  // Paused, the link state says so and the values count as last known.
  const CurrentValuesView paused = PausedView(Shown(Block({0x41, 0xBC, 0, 0}, 0), held));
  EXPECT_EQ(paused.link_state.text, "Опрос приостановлен");
  EXPECT_EQ(paused.channel[0].value.text, " 23.5000");
  EXPECT_TRUE(paused.last_known);
}

TEST(StatusBlockDisplay, NamedBoxesNameEveryPanelOnce) {
  CurrentValuesView v;
  std::map<std::string_view, const PanelBox*> named;
  std::set<const PanelBox*> boxes;
  for (const auto& [name, box] : NamedBoxes(v)) {
    named[name] = box;
    boxes.insert(box);
  }
  EXPECT_EQ(named.size(), kCurrentValuesBoxCount);
  EXPECT_EQ(boxes.size(), kCurrentValuesBoxCount);
  // The window's panels are not numbered in the order of the page.
  const std::pair<std::string_view, const PanelBox*> panels[] = {
      {"Panel24", &v.channel[0].status},
      {"Panel6", &v.channel[0].setpoint1},
      {"Panel4", &v.channel[0].sensor_break},
      {"Panel25", &v.channel[1].status},
      {"Panel10", &v.channel[1].setpoint1},
      {"Panel8", &v.channel[1].sensor_break},
      {"Panel14", &v.key[1]},
      {"Panel19", &v.encoder[1]},
      {"Panel75", &v.link_state},
  };
  for (const auto& [name, box] : panels) EXPECT_EQ(named[name], box) << name;
}

TEST(PollCurrentValues, FailedPollKeepsTheLastGoodValuesAndShowsTheLinkState) {
  test::ScriptedStatusLink link;
  StatusBlock good = Block({0x41, 0xBC, 0, 0}, 0, {0xBF, 0xA0, 0, 0}, 12);
  good[2] = 0x03;
  link.script = {{result::kOk, good}, {result::kNoAnswer, {}}};
  CurrentValues held;

  PollOutcome first = PollCurrentValues(link, held);
  EXPECT_EQ(first.result, result::kOk);
  EXPECT_EQ(first.view.link_state.text, "Получен ответ");
  EXPECT_EQ(first.view.link_state.colour, BoxColour::kButtonFace);
  EXPECT_FALSE(first.view.last_known);

  PollOutcome second = PollCurrentValues(link, held);
  EXPECT_EQ(second.result, result::kNoAnswer);
  EXPECT_EQ(second.view.link_state.text, "Не дождались ответа");
  EXPECT_EQ(second.view.link_state.colour, BoxColour::kYellow);
  EXPECT_EQ(second.view.channel[0].value.text, " 23.5000");
  EXPECT_EQ(second.view.channel[1].value.text, " -1.2500");
  EXPECT_EQ(second.view.channel[1].status.text, "Канал выключен");
  EXPECT_EQ(second.view.relay[0].colour, BoxColour::kYellow);
  EXPECT_TRUE(second.view.last_known);  // shown dimmed, not as live values
  EXPECT_EQ(link.status_reads, 2);
  EXPECT_EQ(link.other_operations, 0);
}

TEST(PollCurrentValues, LinkStateTextsByResult) {
  EXPECT_EQ(LinkStateBox(result::kTooManyChars).text, "В ответе много мусора, ответ не разобран");
  EXPECT_EQ(LinkStateBox(result::kNotUnderstood).text, "Ошибка в разборе ответа");
  for (ExchangeResult r : {result::kOperandTooBig, result::kChecksum, result::kDeviceError,
                           result::kUserAbort, result::kBadNumber}) {
    EXPECT_EQ(LinkStateBox(r).text, "Какая-то ошибка в ответе") << r;
    EXPECT_EQ(LinkStateBox(r).colour, BoxColour::kYellow) << r;
  }
}

TEST(PollCurrentValues, MeasurementLineCarriesTheClampedHeldValues) {
  test::ScriptedStatusLink link;
  StatusBlock b = Block({0x41, 0xBC, 0, 0}, 0, {0xBF, 0xA0, 0, 0}, 12);
  b[2] = 0x03;
  link.script = {{result::kOk, b}};
  CurrentValues held;
  PollCurrentValues(link, held);
  EXPECT_EQ(FormatMeasurementLine(MeasurementOf(held, TimeOfDay{14, 5, 9, 250})),
            "14:05:09  03   23.5000  00   -1.2500  0c\r\n");

  link.script = {{result::kOk, Block({0x46, 0x40, 0xE4, 0x00}, 8, {0xFF, 0xFF, 0xFF, 0xFF}, 1)}};
  PollCurrentValues(link, held);
  EXPECT_EQ(FormatMeasurementLine(MeasurementOf(held, TimeOfDay{0, 0, 1, 0})),
            "00:00:01  00  10000.0000  08  -1000.0000  01\r\n");
}

}  // namespace
}  // namespace zrm
