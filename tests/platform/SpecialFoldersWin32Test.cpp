// Which of the shell's two special-folder calls answers, with stand-ins for them
// that are missing, fail or succeed as a shell's might; and how a folder whose
// name Windows-1252 cannot hold is named by its short form, or not at all.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "platform/win32/SpecialFolders.h"

namespace {

int newerCalls = 0;
int olderCalls = 0;

HRESULT WINAPI newerFails(HWND, int, HANDLE, DWORD, LPWSTR path) {
  ++newerCalls;
  std::wcscpy(path, L"C:\\half");  // what a failing call may leave behind
  return E_FAIL;
}
HRESULT WINAPI newerAnswers(HWND, int, HANDLE, DWORD, LPWSTR path) {
  ++newerCalls;
  std::wcscpy(path, L"C:\\newer");
  return S_OK;
}
HRESULT WINAPI newerAnswersEmpty(HWND, int, HANDLE, DWORD, LPWSTR path) {
  ++newerCalls;
  path[0] = L'\0';
  return S_FALSE;
}
BOOL WINAPI olderFails(HWND, LPWSTR path, int, BOOL) {
  ++olderCalls;
  std::wcscpy(path, L"C:\\stale");
  return FALSE;
}
BOOL WINAPI olderAnswers(HWND, LPWSTR path, int, BOOL) {
  ++olderCalls;
  std::wcscpy(path, L"C:\\older");
  return TRUE;
}

// A profile named in Cyrillic, on a volume that gives it the short name IVAN~1
// (and short names to nothing below it, as if nothing there existed yet).
const wchar_t kProfile[] = L"C:\\Users\\\x0418\x0432\x0430\x043D";
DWORD WINAPI profileShortName(LPCWSTR path, LPWSTR out, DWORD size) {
  if (std::wcscmp(path, kProfile) != 0 || size < 16) return 0;
  std::wcscpy(out, L"C:\\Users\\IVAN~1");
  return DWORD(std::wcslen(out));
}
// A volume whose short name keeps the letters (an 8.3 name in a Cyrillic OEM code page).
DWORD WINAPI cyrillicShortName(LPCWSTR path, LPWSTR out, DWORD size) {
  if (std::wcscmp(path, kProfile) != 0 || size < 16) return 0;
  std::wcscpy(out, kProfile);
  return DWORD(std::wcslen(out));
}
DWORD WINAPI noShortNames(LPCWSTR, LPWSTR, DWORD) {
  return 0;
}
HRESULT WINAPI newerAnswersProfile(HWND, int, HANDLE, DWORD, LPWSTR path) {
  ++newerCalls;
  std::wcscpy(path, kProfile);
  std::wcscat(path, L"\\Desktop");
  return S_OK;
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

TEST(SpecialFoldersWin32, APathTheCodePageCannotHoldIsNamedByItsShortFormOrNotAtAll) {
  const std::wstring profile(kProfile);
  const struct {
    std::wstring path;
    platform::win32::ShortPathFn shortPath;
    const char* named;  // null: nothing names it
  } cases[] = {
      {L"C:\\Program Files\\Caf\x00E9 M\x00FCller \x20AC", noShortNames,
       "C:\\Program Files\\Caf\xE9 M\xFCller \x80"},
      {profile, profileShortName, "C:\\Users\\IVAN~1"},
      {profile + L"\\AppData\\Roaming\\Start Menu", profileShortName,
       "C:\\Users\\IVAN~1\\AppData\\Roaming\\Start Menu"},
      {profile + L"\\Caf\x00E9", profileShortName, "C:\\Users\\IVAN~1\\Caf\xE9"},
      {profile + L"\\Desktop", noShortNames, nullptr},
      {profile + L"\\Desktop", cyrillicShortName, nullptr},
      // What follows the short form is given as it is, so it must be held too.
      {profile + L"\\\x0414\x043E\x043A", profileShortName, nullptr},
  };
  for (const auto& c : cases) {
    const int at = int(&c - cases);
    char out[MAX_PATH] = "untouched";
    const int n = platform::win32::narrowPath(c.path.c_str(), out, MAX_PATH, c.shortPath);
    EXPECT_EQ(std::string(out), c.named != nullptr ? c.named : "") << at;
    EXPECT_EQ(n, c.named != nullptr ? int(std::strlen(c.named)) : -1) << at;
  }
  char small[8];
  EXPECT_EQ(platform::win32::narrowPath(L"C:\\Program Files", small, sizeof small), -1);
  EXPECT_STREQ(small, "");

  // A special folder in the profile: its short form, or no folder, never a
  // garbled name.
  char path[MAX_PATH];
  EXPECT_TRUE(platform::win32::specialFolderPathFrom(
      newerAnswersProfile, nullptr, CSIDL_DESKTOPDIRECTORY, path, profileShortName));
  EXPECT_STREQ(path, "C:\\Users\\IVAN~1\\Desktop");
  EXPECT_FALSE(platform::win32::specialFolderPathFrom(newerAnswersProfile, nullptr,
                                                      CSIDL_DESKTOPDIRECTORY, path, noShortNames));
  EXPECT_STREQ(path, "");
}

TEST(WideTextWin32, PackageTextIsWindows1252WhateverTheSystemCodePage) {
  // Every byte there and back; the lossy way marks what the code page lacks.
  std::string all;
  for (int c = 1; c < 256; ++c) all += char(c);
  const platform::win32::Wide wide(all.c_str());
  EXPECT_EQ(wide.get()[0x80 - 1], L'\x20AC');
  EXPECT_EQ(wide.get()[0xE9 - 1], L'\x00E9');
  char back[256];
  EXPECT_EQ(platform::win32::narrowExact(wide.get(), back, sizeof back), 255);
  EXPECT_EQ(std::string(back), all);
  EXPECT_EQ(platform::win32::Wide(nullptr).get(), nullptr);
  EXPECT_EQ(platform::win32::narrowExact(L"\x0418\x0432", back, sizeof back), -1);
  EXPECT_EQ(platform::win32::narrowLossy(L"\x0418\x0432.\x00E9", back, sizeof back), 4);
  EXPECT_STREQ(back, "??.\xE9");
}
