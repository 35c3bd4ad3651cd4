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
  return PanelBox{std::move(caption),
                  (byte & bit) != 0 ? BoxColour::kYellow : BoxColour::kButtonFace};
}

// Value box colour, status box colour.
std::pair<BoxColour, BoxColour> StatusColours(std::uint8_t status) {
  if (status == 0) return {BoxColour::kWhite, BoxColour::kButtonFace};
  if (status == kChannelOffStatus) return {BoxColour::kButtonFace, BoxColour::kButtonFace};
  return {BoxColour::kYellow, BoxColour::kYellow};
}

ChannelBoxes<PanelBox> ShowChannel(const ChannelValues& ch) {
  const auto [value_colour, status_colour] = StatusColours(ch.status);
  return ChannelBoxes<PanelBox>{
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
  for (ChannelBoxes<PanelBox>& channel : view.channel) channel.value = channel.status = PanelBox{};
  return view;
}

}  // namespace

CurrentValuesView ShowCurrentValues(CurrentValues& held) {
  ClampHeldValues(held);
  CurrentValuesView view;
  if (!held.answered) return UnansweredView();
  view.channel = {ShowChannel(held.channel[0]), ShowChannel(held.channel[1])};
  view.relay = {Lamp(RelayLampCaption(1), held.relay_byte, kRelay1Bit),
                Lamp(RelayLampCaption(2), held.relay_byte, kRelay2Bit)};
  for (std::size_t bit = 0; bit < view.key.size(); ++bit) {
    view.key[bit] = Lamp(ButtonLampCaption(static_cast<int>(bit)), held.input_byte,
                         static_cast<std::uint8_t>(1u << bit));
  }
  view.encoder = {Lamp("", held.input_byte, kEncoderABit), Lamp("", held.input_byte, kEncoderBBit)};
  return view;
}

PanelBox LinkStateBox(ExchangeResult result) {
  return PanelBox{LinkStateText(result),
                  result == result::kOk ? BoxColour::kButtonFace : BoxColour::kYellow};
}

CurrentValuesView PausedView(CurrentValuesView view) {
  view.last_known = true;
  view.link_state = PanelBox{PollPausedText(), BoxColour::kButtonFace};
  return view;
}

}  // namespace zrm
