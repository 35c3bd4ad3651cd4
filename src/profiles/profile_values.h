#pragma once
// How numbers are spelled in a profile. Nothing here depends on the process
// locale: the decimal point is always ".".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zrm {

// An int value: decimal with optional leading blanks and sign, or
// hexadecimal after "$", "0x" or "0X" (sign allowed in front, up to eight
// digits, taken as a 32-bit pattern). Anything else, trailing characters or a
// decimal outside the 32-bit range included, is no integer.
std::optional<std::int32_t> ParseProfileInt(std::string_view text);

// A float value: the first 16 characters of the text read with the C "%f"
// rule. Leaves `field` unchanged when no number starts the text.
void ParseProfileFloat(std::string_view text, float& field);

// The text a save writes for a float: "%8.4f" whenever that text reads back
// as the same value, otherwise "%.9g" (so small coefficients such as 3e-6
// and very large values survive the 16-character reader).
std::string FormatProfileFloat(float value);

}  // namespace zrm
