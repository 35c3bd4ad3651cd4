#pragma once
// What the page "Текущие значения" shows: the text and colour of every box.
// The window only paints it; every rule of the display lives here.

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "link/exchange_result.h"
#include "monitor/current_values.h"

namespace zrm {

// "On" is yellow, "off" the platform's button face; white is the neutral
// background of a value box.
enum class BoxColour { kButtonFace, kYellow, kWhite };

struct PanelBox {
  std::string text;
  BoxColour colour = BoxColour::kButtonFace;
};

// The boxes of one channel: its value, its status text and the lamps
// "Уставка 1", "Уставка 2", "Обрыв".
template <typename Box>
struct ChannelBoxes {
  Box value;
  Box status;
  Box setpoint1;
  Box setpoint2;
  Box sensor_break;
};

// Every box of the page, by what it shows. The core fills them with
// PanelBox; the window holds its labels in the same shape, so both find a
// box's object name in NamedBoxes.
template <typename Box>
struct CurrentValuesBoxes {
  std::array<ChannelBoxes<Box>, 2> channel;  // channel 1 first
  std::array<Box, 2> relay;                  // "Реле 1", "Реле 2"
  // The front keys in the order of their input bits: "1", "Гистерезис",
  // "2", "0", "Диапазон".
  std::array<Box, 5> key;
  std::array<Box, 2> encoder;  // signals A and B
  Box link_state;              // the state of the link; empty until the first poll
};

struct CurrentValuesView : CurrentValuesBoxes<PanelBox> {
  // The boxes other than the link state show the last known values, not
  // live ones (the last poll failed or the polling is paused): drawn dimmed.
  bool last_known = false;
};

// Number of boxes of the page.
inline constexpr std::size_t kCurrentValuesBoxCount = 20;

// Every box of `boxes` with the object name of its panel in the window; the
// one place where the page's panel names are written.
template <typename Boxes>
auto NamedBoxes(Boxes& b) {
  using BoxPointer = decltype(&b.link_state);
  return std::array<std::pair<std::string_view, BoxPointer>, kCurrentValuesBoxCount>{{
      {"Panel3", &b.channel[0].value},
      {"Panel24", &b.channel[0].status},
      {"Panel6", &b.channel[0].setpoint1},
      {"Panel5", &b.channel[0].setpoint2},
      {"Panel4", &b.channel[0].sensor_break},
      {"Panel7", &b.channel[1].value},
      {"Panel25", &b.channel[1].status},
      {"Panel10", &b.channel[1].setpoint1},
      {"Panel9", &b.channel[1].setpoint2},
      {"Panel8", &b.channel[1].sensor_break},
      {"Panel11", &b.relay[0]},
      {"Panel12", &b.relay[1]},
      {"Panel13", &b.key[0]},
      {"Panel14", &b.key[1]},
      {"Panel15", &b.key[2]},
      {"Panel16", &b.key[3]},
      {"Panel17", &b.key[4]},
      {"Panel18", &b.encoder[0]},
      {"Panel19", &b.encoder[1]},
      {"Panel75", &b.link_state},
  }};
}

// Clamps the held values (the clamped values replace them) and fills every
// box but the link state from them. Before the first answer the value and status
// boxes are empty and every lamp is off: nothing has been measured yet.
CurrentValuesView ShowCurrentValues(CurrentValues& held);

// The link state box after a poll: "Получен ответ" on button face for 0, the
// error texts on yellow otherwise.
PanelBox LinkStateBox(ExchangeResult result);

// `view` while the polling is paused: its values dimmed as last known ones,
// the link state box saying "Опрос приостановлен".
CurrentValuesView PausedView(CurrentValuesView view);

}  // namespace zrm
