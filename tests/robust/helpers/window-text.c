/* Writes the texts of the controls of the top-level window named CAPTION to
 * OUT, one a line, so a test can read what a message box says. A windowed
 * program rather than a console one: Wine may put a console program started
 * without a terminal on a desktop of its own, where it sees no other window.
 * Exits with 1 when there is no such window.
 *
 *   window-text CAPTION OUT
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

static BOOL CALLBACK printText(HWND child, LPARAM out) {
  char text[1024];
  if (GetWindowTextA(child, text, sizeof text) > 0) fprintf((FILE*)out, "%s\n", text);
  return TRUE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  if (__argc != 3) return 2;
  HWND window = FindWindowA(NULL, __argv[1]);
  if (window == NULL) return 1;
  FILE* out = fopen(__argv[2], "w");
  if (out == NULL) return 1;
  EnumChildWindows(window, printText, (LPARAM)out);
  return fclose(out) == 0 ? 0 : 1;
}
