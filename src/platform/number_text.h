#pragma once
// Number formatting and parsing that never looks at the process locale: the
// decimal point is always ".". The C formats the files and the window use are
// reproduced exactly.

#include <cstddef>
#include <string>
#include <string_view>

namespace zrm {

// printf("%W.Pf", value): fixed notation, P decimals, right-aligned in at
// least W characters. FormatFixed(0.02f, 8, 4) is "  0.0200".
std::string FormatFixed(double value, int width, int precision);

// printf("%8.4f", value), the format of the editor, the profiles and the
// report.
inline std::string Format84(float value) { return FormatFixed(value, 8, 4); }

// printf("%.Pg", value).
std::string FormatGeneral(double value, int precision);

// The C conversion "%f" of scanf into a single-precision float: leading blanks
// are skipped, then an optional sign, digits with an optional ".", and an
// optional exponent; the number ends at the first character that cannot
// continue it. Returns false when no number starts the text. `consumed` (when
// given) receives the index just past the number.
bool ScanFloat(std::string_view text, float& value, std::size_t* consumed = nullptr);

// The C conversion "%u": leading blanks, optional sign, decimal digits. A
// negative number wraps as scanf does, a too long one saturates at the
// largest value; callers compare with their own limit. False when no digits
// start the text.
bool ScanUnsigned(std::string_view text, unsigned long long& value,
                  std::size_t* consumed = nullptr);

// Blanks and control characters (<= ' ') removed from both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace zrm
