#include <windows.h>

#include "platform/Resources.h"

namespace platform {
namespace {

HMODULE moduleOrSelf(ModuleHandle module) {
  return module != nullptr ? static_cast<HMODULE>(module) : GetModuleHandleA(nullptr);
}

}  // namespace

bool findResource(ModuleHandle module, const char* typeName, int id, ResourceBytes& out) {
  out = {};
  const HMODULE image = moduleOrSelf(module);
  const HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(id), typeName);
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
  return LoadStringA(moduleOrSelf(module), UINT(id), buffer, bufferSize);
}

IconHandle loadIcon(ModuleHandle module, int groupId, int width, int height) {
  return LoadImageA(moduleOrSelf(module), MAKEINTRESOURCEA(groupId), IMAGE_ICON, width, height,
                    LR_DEFAULTCOLOR);
}

bool destroyIcon(IconHandle icon) {
  return icon != nullptr && DestroyIcon(static_cast<HICON>(icon)) != FALSE;
}

CursorHandle loadArrowCursor() {
  return LoadCursorA(nullptr, IDC_ARROW);
}

}  // namespace platform
