#include "platform/win32/WideText.h"

#include "platform/Text.h"

namespace platform::win32 {
namespace {

int narrow(const wchar_t* text, char* out, int capacity, bool exact) {
  if (out == nullptr || capacity <= 0) return -1;
  out[0] = '\0';
  if (text == nullptr) return -1;
  int n = 0;
  for (; text[n] != L'\0'; ++n) {
    const int byte = wideCharToAnsi(char16_t(text[n]));
    if (n + 1 >= capacity || (byte < 0 && exact)) {
      out[0] = '\0';
      return -1;
    }
    out[n] = byte >= 0 ? char(byte) : '?';
  }
  out[n] = '\0';
  return n;
}

bool heldByCodePage(const wchar_t* text) {
  for (; *text != L'\0'; ++text) {
    if (wideCharToAnsi(char16_t(*text)) < 0) return false;
  }
  return true;
}

}  // namespace

Wide::Wide(const char* text) : null_(text == nullptr) {
  if (text == nullptr) return;
  for (const char* p = text; *p != '\0'; ++p) text_ += wchar_t(ansiCharToWide((unsigned char)*p));
}

int narrowExact(const wchar_t* text, char* out, int capacity) {
  return narrow(text, out, capacity, true);
}

int narrowLossy(const wchar_t* text, char* out, int capacity) {
  return narrow(text, out, capacity, false);
}

int narrowPath(const wchar_t* path, char* out, int capacity, ShortPathFn shortPath) {
  const int direct = narrowExact(path, out, capacity);
  if (direct >= 0 || path == nullptr || out == nullptr || capacity <= 0) return direct;
  // Cut at each backslash from the end: the part before it may exist when the
  // rest does not yet (a folder about to be made below a profile).
  const std::wstring whole(path);
  for (std::size_t cut = whole.size(); cut != std::wstring::npos && cut > 0;
       cut = whole.find_last_of(L'\\', cut - 1)) {
    const std::wstring rest = whole.substr(cut);
    if (!heldByCodePage(rest.c_str())) break;  // the rest is given as it is, so it must be held
    const std::wstring head = whole.substr(0, cut);
    wchar_t shortForm[MAX_PATH];
    const DWORD n = shortPath != nullptr ? shortPath(head.c_str(), shortForm, MAX_PATH) : 0;
    if (n == 0 || n >= MAX_PATH) continue;
    const std::wstring held = std::wstring(shortForm, n) + rest;
    const int length = narrowExact(held.c_str(), out, capacity);
    if (length >= 0) return length;
  }
  out[0] = '\0';
  return -1;
}

}  // namespace platform::win32
