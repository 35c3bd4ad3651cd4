#pragma once
// Text conversion at the file boundary: profiles and dev.dat are cp1251 on
// disk (the Windows Russian code page), texts are UTF-8 in memory.

#include <cstddef>
#include <string>
#include <string_view>

namespace zrm {

// Every cp1251 byte becomes its character in UTF-8. The one byte the code
// page leaves undefined (0x98) becomes U+0098, so any byte sequence survives
// a round trip through Utf8ToCp1251.
std::string Cp1251ToUtf8(std::string_view cp1251);

// Every character becomes its cp1251 byte; a character cp1251 cannot hold and
// every malformed UTF-8 sequence becomes "?".
std::string Utf8ToCp1251(std::string_view utf8);

// True when the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// The first `max_chars` characters of a UTF-8 text (a malformed byte counts
// as one character); a multi-byte character is never cut.
std::string_view Utf8Prefix(std::string_view utf8, std::size_t max_chars);

}  // namespace zrm
