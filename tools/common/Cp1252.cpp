#include "common/Cp1252.h"

#include <cstdint>
#include <cstdio>

#include "platform/Text.h"

namespace tools {
namespace {

// The tools run on the host, whose ANSI code page is Windows-1252: its
// conversions are the platform's own. A character is writable when it survives
// the way there and back (the code page writes '?' for what it lacks).
int toByte(char32_t c) {
  if (c > 0xFFFF) return -1;
  const char16_t wide = char16_t(c);
  char byte = 0;
  char16_t back = 0;
  if (platform::wideToAnsi(&wide, 1, &byte, 1) != 1 ||
      platform::ansiToWide(&byte, 1, &back, 1) != 1 || back != wide) {
    return -1;
  }
  return std::uint8_t(byte);
}

char32_t toChar(char byte) {
  char16_t wide = 0;
  return platform::ansiToWide(&byte, 1, &wide, 1) == 1 ? wide : char32_t(std::uint8_t(byte));
}

// Decodes one UTF-8 character at text[i]; -1 when malformed.
long decodeOne(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return std::uint8_t(text[k]); };
  const std::uint8_t b0 = byte(i);
  int extra;
  char32_t c;
  if (b0 < 0x80) {
    ++i;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    c = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    c = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    c = b0 & 0x07;
  } else {
    return -1;
  }
  if (i + std::size_t(extra) >= text.size()) return -1;
  for (int k = 1; k <= extra; ++k) {
    const std::uint8_t b = byte(i + std::size_t(k));
    if ((b & 0xC0) != 0x80) return -1;
    c = (c << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
  if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return -1;
  i += std::size_t(extra) + 1;
  return long(c);
}

}  // namespace

bool utf8ToCp1252(std::string_view utf8, std::string& out, std::string* bad) {
  out.clear();
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const long c = decodeOne(utf8, i);
    if (c < 0) {
      if (bad != nullptr) *bad = "malformed UTF-8";
      return false;
    }
    const int b = toByte(char32_t(c));
    if (b < 0) {
      if (bad != nullptr) {
        char name[32];
        std::snprintf(name, sizeof name, "U+%04lX", c);
        *bad = name;
      }
      return false;
    }
    out += char(b);
  }
  return true;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

std::string cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) appendUtf8(out, toChar(ch));
  return out;
}

}  // namespace tools
