// Between the program's Windows-1252 text and the UTF-8 of the host's desktop.
#include "platform/host/HostText.h"

#include <string>

#include "platform/Text.h"

namespace platform {

namespace host {

std::string ansiToUtf8(const char* text) {
  std::string out;
  for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
    char16_t c;
    if (ansiToWide(p, 1, &c, 1) != 1) c = u'?';
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string utf8ToAnsi(const char* text) {
  std::string out;
  const auto* p = reinterpret_cast<const unsigned char*>(text != nullptr ? text : "");
  while (*p != 0) {
    std::uint32_t c = *p++;
    int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (more > 0) c &= 0x3Fu >> more;
    for (; more > 0 && (*p & 0xC0) == 0x80; --more) c = (c << 6) | (*p++ & 0x3Fu);
    if (more > 0 || c > 0xFFFF) c = '?';  // cut short, or beyond what the code page holds
    const char16_t wide = char16_t(c);
    char byte;
    if (wideToAnsi(&wide, 1, &byte, 1) != 1) byte = '?';
    out += byte;
  }
  return out;
}

}  // namespace host

}  // namespace platform
