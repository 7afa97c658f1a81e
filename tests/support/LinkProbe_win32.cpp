// <windows.h> must come first: the shell headers build on it.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include "support/LinkProbe.h"

namespace {

// The long form of a path that exists; the path as it is otherwise.
std::string longForm(const char* path) {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetLongPathNameA(path, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string(path);
}

}  // namespace

bool readLink(const char* windowsPath, LinkFacts& facts) {
  const bool ownCom = SUCCEEDED(CoInitialize(nullptr));
  bool ok = false;
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t wide[MAX_PATH * 4];
  if (MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, wide, MAX_PATH * 4) > 0 &&
      SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(wide, STGM_READ))) {
    char path[MAX_PATH * 4] = {};
    char description[MAX_PATH * 4] = {};
    if (SUCCEEDED(link->GetPath(path, sizeof path, nullptr, 0)) && path[0] != '\0') {
      facts.target = longForm(path);
      facts.description =
          SUCCEEDED(link->GetDescription(description, sizeof description)) ? description : "";
      ok = true;
    }
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  if (ownCom) CoUninitialize();
  return ok;
}
