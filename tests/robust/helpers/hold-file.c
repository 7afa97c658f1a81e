/* Holds a file open without sharing, as a running program holds its own files,
 * until told to let go: the file is opened, READY is made, and the file is
 * closed once RELEASE exists (or after five minutes, so nothing is held for
 * ever).
 *
 *   hold-file FILE READY RELEASE   (Windows paths)
 */
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  HANDLE held = CreateFileA(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
  if (held == INVALID_HANDLE_VALUE) return 1;
  HANDLE ready = CreateFileA(argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (ready == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(ready);
  for (int i = 0; i < 3000 && GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(100);
  }
  CloseHandle(held);
  return 0;
}
