#include "gui/window/top_strip.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/item_lists.h"
#include "gui/widgets/group_area.h"
#include "gui/widgets/list_controls.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

QPushButton* MakeButton(const char* name, const char* caption, const char* hint) {
  auto* button = new QPushButton(ToQ(caption));
  button->setObjectName(name);
  button->setToolTip(ToQ(hint));
  button->setMinimumWidth(164);
  return button;
}

}  // namespace

TopStrip::TopStrip(QWidget* parent) : QWidget(parent) {
  QLabel* port_caption = MakeCaption(text::kPortCaption);
  port_caption->setObjectName("Label1");
  port_label_ = new QLabel;
  port_label_->setObjectName("Label2");
  port_label_->setMinimumWidth(24);
  // A port outside the four items would open nothing, so only they are
  // accepted.
  port_ = MakeFixedList(PortItems(), "ComboBox17", text::kPortHint);
  read_ = MakeButton("Button1", text::kReadButton, text::kReadHint);
  write_ = MakeButton("Button3", text::kWriteButton, text::kWriteHint);
  QLabel* description_caption = MakeCaption(text::kDescriptionCaption);
  description_caption->setObjectName("Label5");
  description_ = new QPlainTextEdit;
  description_->setObjectName("RichEdit1");
  description_->setToolTip(ToQ(text::kDescriptionHint));
  description_->setLineWrapMode(QPlainTextEdit::NoWrap);
  description_->setFixedHeight(84);

  auto* port_line = new QHBoxLayout;
  port_line->addWidget(port_caption);
  port_line->addWidget(port_label_);
  port_line->addStretch();

  auto* commands = new QVBoxLayout;
  commands->addLayout(port_line);
  commands->addWidget(port_);
  commands->addSpacing(6);
  commands->addWidget(read_);
  commands->addWidget(write_);
  commands->addStretch();

  auto* description_box = new QVBoxLayout;
  description_box->addWidget(description_caption);
  description_box->addWidget(description_);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->addLayout(commands);
  layout->addSpacing(12);
  layout->addLayout(description_box, 1);
}

void TopStrip::Show(const EditorForm& form) {
  port_label_->setText(ToQ(form.port_label));
  ShowListIndex(port_, form.port);
  QStringList lines;
  for (const auto& line : form.description) lines << ToQ(line);
  description_->setPlainText(lines.join('\n'));
}

void TopStrip::Collect(EditorForm& form) const {
  form.port_label = FromQ(port_label_->text());
  form.port = CollectListIndex(port_);
  form.description.clear();
  for (const QString& line : description_->toPlainText().split('\n'))
    form.description.push_back(FromQ(line));
}

}  // namespace zrm::gui
