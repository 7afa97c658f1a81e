/* Closes the setup's window as the system does from the taskbar: WM_CLOSE is
 * posted to it from another process. Given a file, it makes READY and then
 * waits until the file exists (up to two minutes), so the close can land at a
 * chosen moment of the install without the delay of starting a program then.
 * Exits with 1 when there is no such window or the file does not come.
 *
 *   close-window CLASS TITLE [FILE READY]
 */
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) return 2;
  if (argc == 5) {
    HANDLE ready = CreateFileA(argv[4], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (ready == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(ready);
    int waited = 0;
    while (GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES) {
      if (++waited > 12000) return 1;
      Sleep(10);
    }
  }
  HWND window = FindWindowA(argv[1], argv[2]);
  if (window == NULL) return 1;
  return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}
