/* Prints the texts of the controls of the top-level window named CAPTION, one a
 * line, so a test can read what a message box says. Exits with 1 when there is
 * no such window.
 *
 *   window-text CAPTION
 */
#include <windows.h>
#include <stdio.h>

static BOOL CALLBACK printText(HWND child, LPARAM unused) {
  (void)unused;
  char text[1024];
  if (GetWindowTextA(child, text, sizeof text) > 0) printf("%s\n", text);
  return TRUE;
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND window = FindWindowA(NULL, argv[1]);
  if (window == NULL) return 1;
  EnumChildWindows(window, printText, 0);
  return 0;
}
