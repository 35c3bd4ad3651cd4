#pragma once
// The page "Конфигурация": the button that reads the configuration from the
// instrument and prepares the printable summary page.

#include <QPushButton>
#include <QWidget>

namespace zrm::gui {

class ConfigurationPage : public QWidget {
  Q_OBJECT

 public:
  explicit ConfigurationPage(QWidget* parent = nullptr);

  QPushButton* build_page;  // Button42
};

}  // namespace zrm::gui
