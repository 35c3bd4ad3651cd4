#include "editor/editor_number.h"

#include "platform/number_text.h"

namespace zrm {

bool ParseEditorNumber(std::string_view text, float& value) {
  if (ScanFloat(text, value)) return true;
  value = 0.0f;
  return false;
}

std::string FormatEditorNumber(float value) { return Format84(value); }

}  // namespace zrm
