#include "gui/widgets/number_field.h"

#include <QValidator>

#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"
#include "settings/check_field_texts.h"

namespace zrm::gui {

namespace {

constexpr const char* kHintProperty = "zrmHint";
constexpr const char* kMarkedProperty = "zrmNotANumber";

// Accepts every text (the check before writing judges it) after turning the
// decimal comma into the point the instrument's numbers use.
class DecimalCommaValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input.replace(QLatin1Char(','), QLatin1Char('.'));
    return Acceptable;
  }
};

void Mark(QWidget* control, const QString& text, const char* style) {
  if (!control->property(kHintProperty).isValid())
    control->setProperty(kHintProperty, control->toolTip());
  const QString hint = control->property(kHintProperty).toString();
  const bool marked = !IsNumberText(FromQ(text));
  if (control->property(kMarkedProperty).toBool() == marked) return;
  control->setProperty(kMarkedProperty, marked);
  control->setStyleSheet(marked ? QString::fromLatin1(style) : QString());
  control->setToolTip(marked ? ToQ(text::kNotANumberHint) + QStringLiteral("\n") + hint : hint);
}

void MarkNumberField(QLineEdit* field) {
  Mark(field, field->text(), "QLineEdit { border: 2px solid #d00000; }");
}

void MarkNumberField(QComboBox* list) {
  Mark(list, list->currentText(), "QComboBox { border: 2px solid #d00000; }");
}

}  // namespace

void MakeNumberField(QLineEdit* field) {
  field->setValidator(new DecimalCommaValidator(field));
  QObject::connect(field, &QLineEdit::textChanged, field, [field] { MarkNumberField(field); });
}

void MakeNumberField(QComboBox* list) {
  list->setValidator(new DecimalCommaValidator(list));
  QObject::connect(list, &QComboBox::currentTextChanged, list, [list] { MarkNumberField(list); });
}

bool NumberFieldMarked(const QWidget* control) {
  return control->property(kMarkedProperty).toBool();
}

}  // namespace zrm::gui
