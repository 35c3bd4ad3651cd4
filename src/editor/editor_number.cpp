#include "editor/editor_number.h"

#include "platform/number_text.h"
#include "settings/check_field_texts.h"

namespace zrm {

bool ParseEditorNumber(std::string_view text, float& value) {
  // The same rule as the check before writing, so a text it passes reads as
  // the number it shows and a text it stops never reaches the record.
  if (!IsNumberText(text)) return false;
  return ScanFloat(TrimBlanks(text), value);
}

std::string FormatEditorNumber(float value) { return Format84(value); }

void KeepTypedNonNumbers(const EditorForm& typed, EditorForm& shown) {
  for (int k = 0; k < 2; ++k)
    for (const NumberFieldBinding& b : kNumberFields) {
      const std::string& text = typed.channel[k].*b.text;
      if (!IsNumberText(text)) shown.channel[k].*b.text = text;
    }
}

}  // namespace zrm
