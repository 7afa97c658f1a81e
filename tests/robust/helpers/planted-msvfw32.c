/* Stands in for a library planted beside a downloaded setup under the name of
 * one the setup uses: when anything loads it, it leaves the file
 * planted-msvfw32-loaded.txt beside itself. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  static const char kMark[] = "planted-msvfw32-loaded.txt";
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
  while (n > 0 && path[n - 1] != '\\') --n;
  if (n == 0 || n + sizeof kMark > MAX_PATH) return TRUE;
  CopyMemory(path + n, kMark, sizeof kMark);
  HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
  return TRUE;
}
