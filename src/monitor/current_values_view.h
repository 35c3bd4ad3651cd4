#pragma once
// What the page "Текущие значения" shows: the text and colour of every box,
// named after the window's panels. The window only paints it; every rule of
// the display lives here.

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "link/exchange_result.h"
#include "monitor/current_values.h"

namespace zrm {

// "On" is yellow, "off" the platform's button face; white is the neutral
// background of a value box.
enum class BoxColour { ButtonFace, Yellow, White };

struct PanelBox {
  std::string text;
  BoxColour colour = BoxColour::ButtonFace;
};

struct CurrentValuesView {
  PanelBox Panel3;   // channel 1 value
  PanelBox Panel24;  // channel 1 status text
  PanelBox Panel6;   // channel 1 "Уставка 1"
  PanelBox Panel5;   // channel 1 "Уставка 2"
  PanelBox Panel4;   // channel 1 "Обрыв"
  PanelBox Panel7;   // channel 2 value
  PanelBox Panel25;  // channel 2 status text
  PanelBox Panel10;  // channel 2 "Уставка 1"
  PanelBox Panel9;   // channel 2 "Уставка 2"
  PanelBox Panel8;   // channel 2 "Обрыв"
  PanelBox Panel11;  // "Реле 1"
  PanelBox Panel12;  // "Реле 2"
  PanelBox Panel13;  // button "1"
  PanelBox Panel14;  // button "Гистерезис"
  PanelBox Panel15;  // button "2"
  PanelBox Panel16;  // button "0"
  PanelBox Panel17;  // button "Диапазон"
  PanelBox Panel18;  // encoder signal A
  PanelBox Panel19;  // encoder signal B
  PanelBox Panel75;  // state of the link; empty until the first poll
  // The boxes other than Panel75 show the last known values, not live ones
  // (the last poll failed or the polling is paused): drawn dimmed.
  bool last_known = false;
};

// Number of boxes of the view.
inline constexpr std::size_t kCurrentValuesBoxCount = 20;

// Every box with its panel's object name, in the order of the struct, so the
// window can find its widgets by name.
std::array<std::pair<std::string_view, const PanelBox*>, kCurrentValuesBoxCount> NamedBoxes(
    const CurrentValuesView& view);

// Clamps the held values (the clamped values replace them) and fills every
// box but Panel75 from them. Before the first answer the value and status
// boxes are empty and every lamp is off: nothing has been measured yet.
CurrentValuesView ShowCurrentValues(CurrentValues& held);

// The link state box after a poll: "Получен ответ" on button face for 0, the
// error texts on yellow otherwise.
PanelBox LinkStateBox(ExchangeResult result);

// `view` while the polling is paused: its values dimmed as last known ones,
// the link state box saying "Опрос приостановлен".
CurrentValuesView PausedView(CurrentValuesView view);

}  // namespace zrm
