#pragma once
// One channel's panel on the page "Настройки каналов" (Panel1 for channel 1,
// Panel2 for channel 2): the range, sensor, set point, step and counting
// controls, shown from and collected into the editor form.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>

#include "editor/editor_form.h"

namespace zrm::gui {

class ChannelPanel : public QFrame {
  Q_OBJECT

 public:
  // `channel` 0 builds channel 1 with its controls' names, 1 channel 2.
  explicit ChannelPanel(int channel, QWidget* parent = nullptr);

  void Show(const ChannelForm& form);
  void Collect(ChannelForm& form) const;

  QLineEdit* diap_max;
  QLineEdit* diap_min;
  QLineEdit* shift;
  QLineEdit* adj;
  QLineEdit* th1;
  QLineEdit* his1;
  QLineEdit* th2;
  QLineEdit* his2;
  QComboBox* dat;
  QCheckBox* flag;
  QComboBox* th_type1;
  QComboBox* th_type2;
  QComboBox* spd_th;
  QComboBox* spd_his;
  QComboBox* ns;
  QComboBox* point;
  QComboBox* search;

 signals:
  // The user picked or typed a sensor type (ComboBox1Change / ComboBox7Change).
  void SensorTypeChanged();
};

}  // namespace zrm::gui
