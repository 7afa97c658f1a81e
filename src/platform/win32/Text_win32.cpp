#include <windows.h>

#include "platform/Text.h"

namespace platform {
namespace {

struct UpperTable {
  unsigned char map[256];
  UpperTable() {
    // One byte at a time, so that a lead byte is never read as half of a pair.
    for (int c = 0; c < 256; ++c) {
      char one = char(c);
      if (c != 0) CharUpperBuffA(&one, 1);
      map[c] = (unsigned char)one;
    }
  }
};

}  // namespace

bool isLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}

const unsigned char* ansiUpperTable() {
  static const UpperTable table;
  return table.map;
}

int ansiToWide(const char* text, int length, char16_t* out, int outCapacity) {
  if (text == nullptr) return 0;
  return MultiByteToWideChar(CP_ACP, 0, text, length, reinterpret_cast<wchar_t*>(out), outCapacity);
}

int wideToAnsi(const char16_t* text, int length, char* out, int outCapacity) {
  if (text == nullptr) return 0;
  return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text), length, out,
                             outCapacity, nullptr, nullptr);
}

}  // namespace platform
