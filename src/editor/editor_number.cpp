#include "editor/editor_number.h"

#include "platform/number_text.h"

namespace zrm {

bool ParseEditorNumber(std::string_view text, float& value) {
  // Control characters pasted before the number are skipped like blanks, as
  // the check before writing skips them: a text it passes must read as the
  // number it shows, never as 0.
  if (ScanFloat(TrimBlanks(text), value)) return true;
  value = 0.0f;
  return false;
}

std::string FormatEditorNumber(float value) { return Format84(value); }

}  // namespace zrm
