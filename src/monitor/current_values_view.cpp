#include "monitor/current_values_view.h"

#include "monitor/monitor_texts.h"
#include "platform/number_text.h"

namespace zrm {

namespace {

constexpr std::uint8_t kRelay1Bit = 0x01;
constexpr std::uint8_t kRelay2Bit = 0x02;
constexpr std::uint8_t kEncoderABit = 0x20;
constexpr std::uint8_t kEncoderBBit = 0x40;

PanelBox Lamp(std::string caption, std::uint8_t byte, std::uint8_t bit) {
  return PanelBox{std::move(caption), (byte & bit) != 0 ? BoxColour::Yellow : BoxColour::ButtonFace};
}

// Value box colour, status box colour.
std::pair<BoxColour, BoxColour> StatusColours(std::uint8_t status) {
  if (status == 0) return {BoxColour::White, BoxColour::ButtonFace};
  if (status == kChannelOffStatus) return {BoxColour::ButtonFace, BoxColour::ButtonFace};
  return {BoxColour::Yellow, BoxColour::Yellow};
}

struct ChannelBoxes {
  PanelBox value, status, setpoint1, setpoint2, sensor_break;
};

ChannelBoxes ShowChannel(const ChannelValues& ch) {
  const auto [value_colour, status_colour] = StatusColours(ch.status);
  return ChannelBoxes{
      PanelBox{Format84(ch.value), value_colour},
      PanelBox{StatusText(ch.status), status_colour},
      Lamp(SetpointLampCaption(1), ch.flags, kSetpoint1Bit),
      Lamp(SetpointLampCaption(2), ch.flags, kSetpoint2Bit),
      Lamp(BreakLampCaption(), ch.flags, kBreakBit),
  };
}

// No value, no state, every lamp off, captions in place.
CurrentValuesView UnansweredView() {
  CurrentValues zero;
  zero.answered = true;
  CurrentValuesView view = ShowCurrentValues(zero);
  for (PanelBox* box : {&view.Panel3, &view.Panel24, &view.Panel7, &view.Panel25})
    *box = PanelBox{};
  return view;
}

}  // namespace

std::array<std::pair<std::string_view, const PanelBox*>, kCurrentValuesBoxCount> NamedBoxes(
    const CurrentValuesView& v) {
  return {{
      {"Panel3", &v.Panel3},   {"Panel24", &v.Panel24}, {"Panel6", &v.Panel6},
      {"Panel5", &v.Panel5},   {"Panel4", &v.Panel4},   {"Panel7", &v.Panel7},
      {"Panel25", &v.Panel25}, {"Panel10", &v.Panel10}, {"Panel9", &v.Panel9},
      {"Panel8", &v.Panel8},   {"Panel11", &v.Panel11}, {"Panel12", &v.Panel12},
      {"Panel13", &v.Panel13}, {"Panel14", &v.Panel14}, {"Panel15", &v.Panel15},
      {"Panel16", &v.Panel16}, {"Panel17", &v.Panel17}, {"Panel18", &v.Panel18},
      {"Panel19", &v.Panel19}, {"Panel75", &v.Panel75},
  }};
}

CurrentValuesView ShowCurrentValues(CurrentValues& held) {
  ClampHeldValues(held);
  CurrentValuesView view;
  if (!held.answered) return UnansweredView();
  ChannelBoxes ch1 = ShowChannel(held.channel[0]);
  view.Panel3 = std::move(ch1.value);
  view.Panel24 = std::move(ch1.status);
  view.Panel6 = std::move(ch1.setpoint1);
  view.Panel5 = std::move(ch1.setpoint2);
  view.Panel4 = std::move(ch1.sensor_break);
  ChannelBoxes ch2 = ShowChannel(held.channel[1]);
  view.Panel7 = std::move(ch2.value);
  view.Panel25 = std::move(ch2.status);
  view.Panel10 = std::move(ch2.setpoint1);
  view.Panel9 = std::move(ch2.setpoint2);
  view.Panel8 = std::move(ch2.sensor_break);
  view.Panel11 = Lamp(RelayLampCaption(1), held.relay_byte, kRelay1Bit);
  view.Panel12 = Lamp(RelayLampCaption(2), held.relay_byte, kRelay2Bit);
  PanelBox* buttons[] = {&view.Panel13, &view.Panel14, &view.Panel15, &view.Panel16,
                         &view.Panel17};
  for (int bit = 0; bit < 5; ++bit) {
    *buttons[bit] = Lamp(ButtonLampCaption(bit), held.input_byte,
                         static_cast<std::uint8_t>(1u << bit));
  }
  view.Panel18 = Lamp("", held.input_byte, kEncoderABit);
  view.Panel19 = Lamp("", held.input_byte, kEncoderBBit);
  return view;
}

PanelBox LinkStateBox(ExchangeResult result) {
  return PanelBox{LinkStateText(result),
                  result == result::kOk ? BoxColour::ButtonFace : BoxColour::Yellow};
}

CurrentValuesView PausedView(CurrentValuesView view) {
  view.last_known = true;
  view.Panel75 = PanelBox{PollPausedText(), BoxColour::ButtonFace};
  return view;
}

}  // namespace zrm
