// Package texts are Windows-1252 on every system, whatever code page the system
// itself runs in: the conversions are a table of our own, never the system's.
#include "platform/Text.h"

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

// The length to convert: `length`, or up to and including the terminator.
template <typename Char>
int measured(const Char* text, int length) {
  if (length != -1) return length;
  int n = 0;
  while (text[n] != 0) ++n;
  return n + 1;
}

}  // namespace

bool isLeadByte(unsigned char) {
  return false;
}

const unsigned char* ansiUpperTable() {
  static const UpperTable table;
  return table.map;
}

char16_t ansiCharToWide(unsigned char byte) {
  return (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : char16_t(byte);
}

int wideCharToAnsi(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int k = 0; k < 32; ++k) {
    if (kHighControls[k] == c) return 0x80 + k;
  }
  return -1;
}

int ansiToWide(const char* text, int length, char16_t* out, int outCapacity) {
  if (text == nullptr || length == 0 || length < -1 || outCapacity < 0) return 0;
  const int n = measured(text, length);
  if (outCapacity == 0) return n;
  if (out == nullptr || outCapacity < n) return 0;
  for (int i = 0; i < n; ++i) out[i] = ansiCharToWide((unsigned char)text[i]);
  return n;
}

int wideToAnsi(const char16_t* text, int length, char* out, int outCapacity) {
  if (text == nullptr || length == 0 || length < -1 || outCapacity < 0) return 0;
  const int n = measured(text, length);
  if (outCapacity == 0) return n;
  if (out == nullptr || outCapacity < n) return 0;
  for (int i = 0; i < n; ++i) {
    const int byte = wideCharToAnsi(text[i]);
    out[i] = byte >= 0 ? char(byte) : '?';  // what Windows puts for a character the code page lacks
  }
  return n;
}

}  // namespace platform
