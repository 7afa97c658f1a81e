// The host machine's ANSI code page is Windows-1252: single bytes only.
#include "platform/Text.h"

#include <string>

#include "platform/host/HostText.h"

namespace platform {
namespace {

// UTF-16 of the bytes 0x80..0x9F; the five holes map to the same code point, as
// Windows maps them.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct UpperTable {
  unsigned char map[256];
  UpperTable() {
    for (int c = 0; c < 256; ++c) map[c] = (unsigned char)c;
    for (int c = 'a'; c <= 'z'; ++c) map[c] = (unsigned char)(c - 0x20);
    for (int c = 0xE0; c <= 0xFE; ++c) {
      if (c != 0xF7) map[c] = (unsigned char)(c - 0x20);  // 0xF7 is the division sign
    }
    map[0x9A] = 0x8A;  // s caron
    map[0x9C] = 0x8C;  // oe
    map[0x9E] = 0x8E;  // z caron
    map[0xFF] = 0x9F;  // y diaeresis
  }
};

}  // namespace

bool isLeadByte(unsigned char) {
  return false;
}

const unsigned char* ansiUpperTable() {
  static const UpperTable table;
  return table.map;
}

int ansiToWide(const char* text, int length, char16_t* out, int outCapacity) {
  if (text == nullptr || length == 0 || length < -1 || outCapacity < 0) return 0;
  int n = length;
  if (n == -1) {
    n = 0;
    while (text[n] != '\0') ++n;
    ++n;  // the terminator is converted too
  }
  if (outCapacity == 0) return n;
  if (out == nullptr || outCapacity < n) return 0;
  for (int i = 0; i < n; ++i) {
    const unsigned char c = (unsigned char)text[i];
    out[i] = (c >= 0x80 && c < 0xA0) ? kHighControls[c - 0x80] : char16_t(c);
  }
  return n;
}

int wideToAnsi(const char16_t* text, int length, char* out, int outCapacity) {
  if (text == nullptr || length == 0 || length < -1 || outCapacity < 0) return 0;
  int n = length;
  if (n == -1) {
    n = 0;
    while (text[n] != 0) ++n;
    ++n;
  }
  if (outCapacity == 0) return n;
  if (out == nullptr || outCapacity < n) return 0;
  for (int i = 0; i < n; ++i) {
    const char16_t c = text[i];
    char byte = '?';  // what Windows puts for a character the code page lacks
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      byte = char(c);
    } else {
      for (int k = 0; k < 32; ++k) {
        if (kHighControls[k] == c) {
          byte = char(0x80 + k);
          break;
        }
      }
    }
    out[i] = byte;
  }
  return n;
}

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
