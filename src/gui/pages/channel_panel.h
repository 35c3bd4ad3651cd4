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

 signals:
  // The user picked a sensor type (ComboBox1 / ComboBox7).
  void SensorTypeChanged();

 private:
  QLineEdit* diap_max_;
  QLineEdit* diap_min_;
  QLineEdit* shift_;
  QLineEdit* adj_;
  QLineEdit* th1_;
  QLineEdit* his1_;
  QLineEdit* th2_;
  QLineEdit* his2_;
  QComboBox* dat_;
  QCheckBox* flag_;
  QComboBox* th_type1_;
  QComboBox* th_type2_;
  QComboBox* spd_th_;
  QComboBox* spd_his_;
  QComboBox* ns_;
  QComboBox* point_;
  QComboBox* search_;
};

}  // namespace zrm::gui
