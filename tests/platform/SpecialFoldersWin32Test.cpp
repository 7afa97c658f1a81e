// Which of the shell's two special-folder calls answers, with stand-ins for them
// that are missing, fail or succeed as a shell's might.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "platform/win32/SpecialFolders.h"

namespace {

int newerCalls = 0;
int olderCalls = 0;

HRESULT WINAPI newerFails(HWND, int, HANDLE, DWORD, LPSTR path) {
  ++newerCalls;
  std::strcpy(path, "C:\\half");  // what a failing call may leave behind
  return E_FAIL;
}
HRESULT WINAPI newerAnswers(HWND, int, HANDLE, DWORD, LPSTR path) {
  ++newerCalls;
  std::strcpy(path, "C:\\newer");
  return S_OK;
}
HRESULT WINAPI newerAnswersEmpty(HWND, int, HANDLE, DWORD, LPSTR path) {
  ++newerCalls;
  path[0] = '\0';
  return S_FALSE;
}
BOOL WINAPI olderFails(HWND, LPSTR path, int, BOOL) {
  ++olderCalls;
  std::strcpy(path, "C:\\stale");
  return FALSE;
}
BOOL WINAPI olderAnswers(HWND, LPSTR path, int, BOOL) {
  ++olderCalls;
  std::strcpy(path, "C:\\older");
  return TRUE;
}

}  // namespace

TEST(SpecialFoldersWin32, TheOlderCallAnswersWhenTheNewerIsMissingOrFails) {
  using platform::win32::GetFolderPathFn;
  using platform::win32::GetSpecialFolderPathFn;
  const struct {
    GetFolderPathFn newer;
    GetSpecialFolderPathFn older;
    bool found;
    const char* path;
    int olderCalls;
  } cases[] = {
      {newerAnswers, olderAnswers, true, "C:\\newer", 0},
      {nullptr, olderAnswers, true, "C:\\older", 1},
      {newerFails, olderAnswers, true, "C:\\older", 1},
      {newerAnswersEmpty, olderAnswers, true, "C:\\older", 1},
      {newerFails, olderFails, false, "", 1},
      {newerFails, nullptr, false, "", 0},
      {nullptr, olderFails, false, "", 1},
      {nullptr, nullptr, false, "", 0},
  };
  for (const auto& c : cases) {
    const int at = int(&c - cases);
    newerCalls = olderCalls = 0;
    char path[MAX_PATH] = "untouched";
    EXPECT_EQ(platform::win32::specialFolderPathFrom(c.newer, c.older, CSIDL_PROGRAM_FILES, path),
              c.found)
        << at;
    EXPECT_EQ(std::string(path), c.path) << at;
    EXPECT_EQ(newerCalls, c.newer != nullptr ? 1 : 0) << at;
    EXPECT_EQ(olderCalls, c.olderCalls) << at;
  }
  EXPECT_FALSE(platform::win32::specialFolderPathFrom(newerAnswers, olderAnswers, 0, nullptr));
}
