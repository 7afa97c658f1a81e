#include <windows.h>

#include "platform/Resources.h"
#include "platform/Text.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

HMODULE moduleOrSelf(ModuleHandle module) {
  return module != nullptr ? static_cast<HMODULE>(module) : GetModuleHandleW(nullptr);
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
  const int n = length < bufferSize - 1 ? length : bufferSize - 1;
  for (int i = 0; i < n; ++i) {
    const int byte = wideCharToAnsi(char16_t(text[i]));
    buffer[i] = byte >= 0 ? char(byte) : '?';
  }
  buffer[n] = '\0';
  return n;
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
