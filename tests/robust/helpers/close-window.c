/* Closes the setup's window as the system does from the taskbar: WM_CLOSE is
 * posted to it from another process. Exits with 1 when there is no such window.
 *
 *   close-window CLASS TITLE
 */
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  HWND window = FindWindowA(argv[1], argv[2]);
  if (window == NULL) return 1;
  return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}
