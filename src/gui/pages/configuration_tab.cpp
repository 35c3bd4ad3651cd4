#include "gui/pages/configuration_tab.h"

#include <QVBoxLayout>

#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

ConfigurationTab::ConfigurationTab(QWidget* parent) : QWidget(parent) {
  build_page_ = new QPushButton(ToQ(text::kBuildPage));
  build_page_->setObjectName("Button42");
  build_page_->setToolTip(ToQ(text::kBuildPageHint));
  build_page_->setMinimumWidth(180);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->addWidget(build_page_, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addStretch();
}

}  // namespace zrm::gui
