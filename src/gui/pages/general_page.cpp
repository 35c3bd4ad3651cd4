#include "gui/pages/general_page.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/item_lists.h"
#include "gui/widgets/group_area.h"
#include "gui/widgets/list_controls.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

QFrame* MakeVerticalLine() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

GeneralPage::GeneralPage(QWidget* parent) : QWidget(parent) {
  area_ = MakePanel("Panel71");

  firmware_version_ = new QLabel;
  firmware_version_->setObjectName("Panel78");
  firmware_version_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  firmware_version_->setAutoFillBackground(true);
  firmware_version_->setStyleSheet("QLabel { background: white; }");
  firmware_version_->setAlignment(Qt::AlignCenter);
  firmware_version_->setFixedSize(90, 24);
  proc_ver_ = MakeFixedList(DeviceTypeItems(), "ComboBox19", text::kDeviceTypeHint);
  err_ver_ = MakeFixedList(ErrorDisplayItems(), "ComboBox20", text::kErrorDisplayHint);
  otk_type_ = new SimpleList(PrefixItems(), "ComboBox27");
  otk_type_->setFixedWidth(48);
  serial_number_ = new QLineEdit;
  serial_number_->setObjectName("Edit53");
  serial_number_->setReadOnly(true);
  serial_number_->setToolTip(ToQ(text::kSerialHint));
  serial_number_->setFixedWidth(90);

  auto* left = new QVBoxLayout;
  left->addWidget(MakeCaption(text::kFirmwareVersion));
  left->addWidget(firmware_version_);
  left->addSpacing(12);
  left->addWidget(MakeCaption(text::kDeviceType));
  left->addWidget(proc_ver_);
  left->addSpacing(12);
  left->addWidget(MakeCaption(text::kErrorDisplay));
  left->addWidget(err_ver_);
  left->addStretch();

  auto* number = new QHBoxLayout;
  number->addWidget(otk_type_);
  number->addWidget(MakeCaption(text::kNumberHyphen));
  number->addWidget(serial_number_);
  number->addStretch();

  auto* right = new QVBoxLayout;
  right->addWidget(MakeHeading(text::kProductionTitle));
  right->addSpacing(12);
  right->addWidget(MakeCaption(text::kDeviceNumber));
  right->addLayout(number);
  right->addStretch();

  auto* halves = new QHBoxLayout(area_);
  halves->setContentsMargins(16, 12, 16, 12);
  halves->addLayout(left, 1);
  halves->addSpacing(12);
  halves->addWidget(MakeVerticalLine());
  halves->addSpacing(12);
  halves->addLayout(right, 1);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(4, 4, 4, 4);
  page->addWidget(area_);
}

void GeneralPage::Show(const EditorForm& form) {
  firmware_version_->setText(ToQ(form.firmware_version));
  ShowListIndex(proc_ver_, form.proc_ver);
  ShowListIndex(err_ver_, form.err_ver);
  otk_type_->SetCurrentIndex(form.otk_type);
  serial_number_->setText(ToQ(form.serial_number));
}

void GeneralPage::Collect(EditorForm& form) const {
  form.firmware_version = FromQ(firmware_version_->text());
  form.proc_ver = CollectListIndex(proc_ver_);
  form.err_ver = CollectListIndex(err_ver_);
  form.otk_type = otk_type_->CurrentIndex();
  form.serial_number = FromQ(serial_number_->text());
}

}  // namespace zrm::gui
