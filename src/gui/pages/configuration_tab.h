#pragma once
// The page "Конфигурация": the button that reads the configuration from the
// instrument and prepares the printable summary page.

#include <QPushButton>
#include <QWidget>

namespace zrm::gui {

class ConfigurationTab : public QWidget {
  Q_OBJECT

 public:
  explicit ConfigurationTab(QWidget* parent = nullptr);

  // "Сформировать", which reads the instrument and previews the page.
  QPushButton* BuildPageButton() const { return build_page_; }

 private:
  QPushButton* build_page_;  // Button42
};

}  // namespace zrm::gui
