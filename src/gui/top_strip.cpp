#include "gui/top_strip.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/item_lists.h"
#include "gui/group_area.h"
#include "gui/list_controls.h"
#include "gui/qt_text.h"
#include "gui/window_texts.h"

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
  port_label = new QLabel;
  port_label->setObjectName("Label2");
  port_label->setMinimumWidth(24);
  // A port outside the four items would open nothing, so only they are
  // accepted.
  port = MakeFixedList(PortItems(), "ComboBox17", text::kPortHint);
  read = MakeButton("Button1", text::kReadButton, text::kReadHint);
  write = MakeButton("Button3", text::kWriteButton, text::kWriteHint);
  QLabel* description_caption = MakeCaption(text::kDescriptionCaption);
  description_caption->setObjectName("Label5");
  description = new QPlainTextEdit;
  description->setObjectName("RichEdit1");
  description->setToolTip(ToQ(text::kDescriptionHint));
  description->setLineWrapMode(QPlainTextEdit::NoWrap);
  description->setFixedHeight(84);

  auto* port_line = new QHBoxLayout;
  port_line->addWidget(port_caption);
  port_line->addWidget(port_label);
  port_line->addStretch();

  auto* commands = new QVBoxLayout;
  commands->addLayout(port_line);
  commands->addWidget(port);
  commands->addSpacing(6);
  commands->addWidget(read);
  commands->addWidget(write);
  commands->addStretch();

  auto* description_box = new QVBoxLayout;
  description_box->addWidget(description_caption);
  description_box->addWidget(description);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->addLayout(commands);
  layout->addSpacing(12);
  layout->addLayout(description_box, 1);
}

void TopStrip::Show(const EditorForm& form) {
  port_label->setText(ToQ(form.port_label));
  ShowListIndex(port, form.port);
  QStringList lines;
  for (const auto& line : form.description) lines << ToQ(line);
  description->setPlainText(lines.join('\n'));
}

void TopStrip::Collect(EditorForm& form) const {
  form.port_label = FromQ(port_label->text());
  form.port = CollectListIndex(port);
  form.description.clear();
  for (const QString& line : description->toPlainText().split('\n'))
    form.description.push_back(FromQ(line));
}

}  // namespace zrm::gui
