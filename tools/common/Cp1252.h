// Windows-1252, the ANSI code page of the packages we build, and UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// Converts UTF-8 text to Windows-1252. False for malformed UTF-8 or for a character
// the code page cannot hold; `bad` then names the offending character (U+XXXX).
bool utf8ToCp1252(std::string_view utf8, std::string& out, std::string* bad = nullptr);

// Appends the character `c` (at most U+10FFFF) to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t c);

// Converts Windows-1252 text to UTF-8; every byte has a character.
std::string cp1252ToUtf8(std::string_view text);

}  // namespace tools
