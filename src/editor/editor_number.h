#pragma once
// Texts of the editor's number fields and their values.

#include <string>
#include <string_view>

namespace zrm {

// Reads the number at the start of a field text as C's "%f" would into a
// 32-bit float: leading blanks and control characters skipped, "." the only decimal point, the number
// ends at the first character that cannot continue it. When no number starts
// the text, `value` is 0 and the result false.
bool ParseEditorNumber(std::string_view text, float& value);

// The text a number field shows: "%8.4f", so 0.02 is "  0.0200".
std::string FormatEditorNumber(float value);

}  // namespace zrm
