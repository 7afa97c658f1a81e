#include <windows.h>
#include <restartmanager.h>

#include <memory>

#include "platform/FileMoves.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

using RmStartSessionFn = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using RmRegisterResourcesFn = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT,
                                             LPCWSTR*);
using RmGetListFn = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, DWORD*);
using RmEndSessionFn = DWORD(WINAPI*)(DWORD);

struct RestartManagerApi {
  RmStartSessionFn start = nullptr;
  RmRegisterResourcesFn add = nullptr;
  RmGetListFn list = nullptr;
  RmEndSessionFn end = nullptr;
};

// Loaded when first needed.
RestartManagerApi loadRestartManager() {
  using win32::entry;
  RestartManagerApi api;
  const HMODULE module = win32::loadSystemLibrary(L"rstrtmgr.dll");
  api.start = entry<RmStartSessionFn>(module, "RmStartSession");
  api.add = entry<RmRegisterResourcesFn>(module, "RmRegisterResources");
  api.list = entry<RmGetListFn>(module, "RmGetList");
  api.end = entry<RmEndSessionFn>(module, "RmEndSession");
  if (!api.start || !api.add || !api.list || !api.end) api = RestartManagerApi{};
  return api;
}

}  // namespace

bool moveFile(const char* from, const char* to) {
  return MoveFileW(win32::Wide(from).get(), win32::Wide(to).get()) != FALSE;
}

bool canDeleteFile(const char* path) {
  const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  // A running program's file opens for deletion (the loader shares it so) but not
  // for writing, and it cannot be deleted: asking for both finds it.
  const win32::Wide name(path);
  HANDLE file = CreateFileW(name.get(), DELETE | FILE_WRITE_DATA, shareAll, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_SHARING_VIOLATION) return false;
    // A read-only file refuses writing for itself, not for its holders.
    file =
        CreateFileW(name.get(), DELETE, shareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                    nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
  }
  CloseHandle(file);
  return true;
}

std::vector<std::string> programsHoldingFiles(const std::vector<std::string>& paths) {
  static const RestartManagerApi api = loadRestartManager();
  std::vector<std::string> names;
  if (api.start == nullptr || paths.empty()) return names;
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (api.start(&session, 0, key) != ERROR_SUCCESS) return names;
  std::vector<win32::Wide> wide;
  for (const std::string& path : paths) wide.emplace_back(path.c_str());
  std::vector<LPCWSTR> files;
  for (const win32::Wide& w : wide) files.push_back(w.get());
  UINT needed = 0;
  UINT count = 0;
  DWORD reasons = 0;
  if (api.add(session, UINT(files.size()), files.data(), 0, nullptr, 0, nullptr) == ERROR_SUCCESS &&
      api.list(session, &needed, &count, nullptr, &reasons) == ERROR_MORE_DATA && needed > 0) {
    std::unique_ptr<RM_PROCESS_INFO[]> found(new RM_PROCESS_INFO[needed]);
    count = needed;
    if (api.list(session, &needed, &count, found.get(), &reasons) == ERROR_SUCCESS) {
      for (UINT i = 0; i < count; ++i) {
        char text[CCH_RM_MAX_APP_NAME + 1];
        if (win32::narrowLossy(found[i].strAppName, text, sizeof text) < 0) continue;
        const std::string name = text;
        bool known = name.empty();
        for (const std::string& n : names) known = known || n == name;
        if (!known) names.push_back(name);
      }
    }
  }
  api.end(session);
  return names;
}

}  // namespace platform
