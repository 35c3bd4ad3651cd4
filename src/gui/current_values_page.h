#pragma once
// The page "Текущие значения": the boxes that show the instrument's current
// values, channel states, relays, front-panel buttons, encoder and the state
// of the link. This page only lays the boxes out; polling fills them.

#include <QLabel>
#include <QWidget>
#include <array>

namespace zrm::gui {

class CurrentValuesPage : public QWidget {
  Q_OBJECT

 public:
  explicit CurrentValuesPage(QWidget* parent = nullptr);

  // Boxes of one channel: value, status text, and the flag boxes
  // set point 1, set point 2, sensor break.
  struct ChannelBoxes {
    QLabel* value;
    QLabel* status;
    QLabel* setpoint1;
    QLabel* setpoint2;
    QLabel* sensor_break;
  };

  std::array<ChannelBoxes, 2> channel;  // Panel3.., Panel7..
  std::array<QLabel*, 2> relay;         // Panel11, Panel12
  std::array<QLabel*, 5> button;        // Panel13..Panel17
  std::array<QLabel*, 2> encoder;       // Panel18, Panel19
  std::array<QLabel*, 4> single_led;    // "Единичные светодиоды" 1..4, not driven
  QLabel* link_state;                   // Panel75
};

}  // namespace zrm::gui
