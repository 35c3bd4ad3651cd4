#include "gui/configuration_page.h"

#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/window_texts.h"

namespace zrm::gui {

ConfigurationPage::ConfigurationPage(QWidget* parent) : QWidget(parent) {
  build_page = new QPushButton(ToQ(text::kBuildPage));
  build_page->setObjectName("Button42");
  build_page->setToolTip(ToQ(text::kBuildPageHint));
  build_page->setMinimumWidth(180);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->addWidget(build_page, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addStretch();
}

}  // namespace zrm::gui
