#include <windows.h>

#include <algorithm>

#include "platform/Resources.h"
#include "platform/Text.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

// RT_STRING, which the headers spell only as an ANSI name.
constexpr int kStringTable = 6;

HMODULE moduleOrSelf(ModuleHandle module) {
  return module != nullptr ? static_cast<HMODULE>(module) : GetModuleHandleW(nullptr);
}

BOOL CALLBACK noteLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
  auto* languages = reinterpret_cast<std::vector<std::uint16_t>*>(found);
  if (std::find(languages->begin(), languages->end(), language) == languages->end()) {
    languages->push_back(language);
  }
  return TRUE;
}

// The languages string-table block `block` is there in.
std::vector<std::uint16_t> blockLanguages(HMODULE image, int block) {
  std::vector<std::uint16_t> languages;
  EnumResourceLanguagesW(image, MAKEINTRESOURCEW(kStringTable), MAKEINTRESOURCEW(block),
                         noteLanguage, reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

// Copies `length` UTF-16 units of a string resource into `buffer` in
// Windows-1252 ('?' for what it cannot hold), cut to bufferSize - 1 bytes and
// terminated; the number of bytes copied.
int copyNarrowed(const wchar_t* text, int length, char* buffer, int bufferSize) {
  const int n = length < bufferSize - 1 ? length : bufferSize - 1;
  for (int i = 0; i < n; ++i) {
    const int byte = wideCharToAnsi(char16_t(text[i]));
    buffer[i] = byte >= 0 ? char(byte) : '?';
  }
  buffer[n] = '\0';
  return n;
}

}  // namespace

bool findResource(ModuleHandle module, const char* typeName, int id, ResourceBytes& out) {
  out = {};
  const HMODULE image = moduleOrSelf(module);
  const HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(id), win32::Wide(typeName).get());
  if (found == nullptr) return false;
  const HGLOBAL loaded = LoadResource(image, found);
  if (loaded == nullptr) return false;
  const DWORD size = SizeofResource(image, found);
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr && size != 0) return false;
  out.data = static_cast<const unsigned char*>(bytes);
  out.size = size;
  return true;
}

int loadString(ModuleHandle module, int id, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  // With no buffer, LoadStringW points at the string in the resource instead.
  const wchar_t* text = nullptr;
  const int length =
      LoadStringW(moduleOrSelf(module), UINT(id), reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || text == nullptr) {
    buffer[0] = '\0';
    return 0;
  }
  return copyNarrowed(text, length, buffer, bufferSize);
}

int loadString(ModuleHandle module, int id, std::uint16_t language, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  buffer[0] = '\0';
  if (id < 0 || id > 0xFFFF) return 0;
  const HMODULE image = moduleOrSelf(module);
  // FindResourceEx stands in another language for a missing one; the caller
  // chooses its own stand-in.
  const int block = id / 16 + 1;
  const std::vector<std::uint16_t> carried = blockLanguages(image, block);
  if (std::find(carried.begin(), carried.end(), language) == carried.end()) return 0;
  const HRSRC found =
      FindResourceExW(image, MAKEINTRESOURCEW(kStringTable), MAKEINTRESOURCEW(block), language);
  const HGLOBAL loaded = found != nullptr ? LoadResource(image, found) : nullptr;
  const auto* units = static_cast<const WCHAR*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (units == nullptr) return 0;
  // A block holds 16 strings, each a count of UTF-16 units and then the units.
  const std::size_t count = SizeofResource(image, found) / sizeof(WCHAR);
  std::size_t at = 0;
  for (int i = 0; i < id % 16 && at < count; ++i) at += 1 + std::size_t(units[at]);
  if (at >= count || std::size_t(units[at]) > count - at - 1) return 0;
  const int length = int(units[at]);
  const WCHAR* text = units + at + 1;
  return copyNarrowed(text, length, buffer, bufferSize);
}

std::vector<std::uint16_t> stringLanguages(ModuleHandle module, int id) {
  if (id < 0 || id > 0xFFFF) return {};
  return blockLanguages(moduleOrSelf(module), id / 16 + 1);
}

IconHandle loadIcon(ModuleHandle module, int groupId, int width, int height) {
  return LoadImageW(moduleOrSelf(module), MAKEINTRESOURCEW(groupId), IMAGE_ICON, width, height,
                    LR_DEFAULTCOLOR);
}

bool destroyIcon(IconHandle icon) {
  return icon != nullptr && DestroyIcon(static_cast<HICON>(icon)) != FALSE;
}

CursorHandle loadArrowCursor() {
  // IDC_ARROW, which the headers spell only as an ANSI name.
  return LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
}

}  // namespace platform
