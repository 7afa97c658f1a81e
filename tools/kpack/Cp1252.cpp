#include "kpack/Cp1252.h"

#include <cstdint>
#include <cstdio>

namespace kpack {
namespace {

// The characters of 0x80..0x9F; the five unassigned bytes keep their own code
// points, as Windows converts them.
constexpr char32_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int toByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return int(c);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == c) return 0x80 + i;
  }
  return -1;
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

void appendUtf8(std::string& out, char32_t c) {
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

std::string cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto b = std::uint8_t(ch);
    appendUtf8(out, (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char32_t(b));
  }
  return out;
}

}  // namespace kpack
