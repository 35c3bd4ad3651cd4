#include "gui/general_page.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/item_lists.h"
#include "gui/group_area.h"
#include "gui/list_controls.h"
#include "gui/qt_text.h"
#include "gui/window_texts.h"

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
  area = MakePanel("Panel71");

  firmware_version = new QLabel;
  firmware_version->setObjectName("Panel78");
  firmware_version->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  firmware_version->setAutoFillBackground(true);
  firmware_version->setStyleSheet("QLabel { background: white; }");
  firmware_version->setAlignment(Qt::AlignCenter);
  firmware_version->setFixedSize(90, 24);
  proc_ver = MakeFixedList(DeviceTypeItems(), "ComboBox19", text::kDeviceTypeHint);
  err_ver = MakeFixedList(ErrorDisplayItems(), "ComboBox20", text::kErrorDisplayHint);
  otk_type = new SimpleList(PrefixItems(), "ComboBox27");
  otk_type->setFixedWidth(48);
  serial_number = new QLineEdit;
  serial_number->setObjectName("Edit53");
  serial_number->setReadOnly(true);
  serial_number->setToolTip(ToQ(text::kSerialHint));
  serial_number->setFixedWidth(90);

  auto* left = new QVBoxLayout;
  left->addWidget(MakeCaption(text::kFirmwareVersion));
  left->addWidget(firmware_version);
  left->addSpacing(12);
  left->addWidget(MakeCaption(text::kDeviceType));
  left->addWidget(proc_ver);
  left->addSpacing(12);
  left->addWidget(MakeCaption(text::kErrorDisplay));
  left->addWidget(err_ver);
  left->addStretch();

  auto* number = new QHBoxLayout;
  number->addWidget(otk_type);
  number->addWidget(MakeCaption(text::kNumberHyphen));
  number->addWidget(serial_number);
  number->addStretch();

  auto* right = new QVBoxLayout;
  right->addWidget(MakeHeading(text::kProductionTitle));
  right->addSpacing(12);
  right->addWidget(MakeCaption(text::kDeviceNumber));
  right->addLayout(number);
  right->addStretch();

  auto* halves = new QHBoxLayout(area);
  halves->setContentsMargins(16, 12, 16, 12);
  halves->addLayout(left, 1);
  halves->addSpacing(12);
  halves->addWidget(MakeVerticalLine());
  halves->addSpacing(12);
  halves->addLayout(right, 1);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(4, 4, 4, 4);
  page->addWidget(area);
}

void GeneralPage::Show(const EditorForm& form) {
  firmware_version->setText(ToQ(form.firmware_version));
  ShowListIndex(proc_ver, form.proc_ver);
  ShowListIndex(err_ver, form.err_ver);
  otk_type->SetCurrentIndex(form.otk_type);
  serial_number->setText(ToQ(form.serial_number));
}

void GeneralPage::Collect(EditorForm& form) const {
  form.firmware_version = FromQ(firmware_version->text());
  form.proc_ver = CollectListIndex(proc_ver);
  form.err_ver = CollectListIndex(err_ver);
  form.otk_type = otk_type->CurrentIndex();
  form.serial_number = FromQ(serial_number->text());
}

}  // namespace zrm::gui
