/* Writes the texts of the controls of the top-level window named CAPTION to
 * OUT, one a line, so a test can read what a message box says. A windowed
 * program rather than a console one: Wine may put a console program started
 * without a terminal on a desktop of its own, where it sees no other window.
 * Exits with 1 when there is no such window, or its controls say nothing.
 *
 *   window-text CAPTION OUT
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

static int printed;

/* The control is asked for its text (WM_GETTEXT) rather than read with
 * GetWindowText, which for another process's window gives only what the
 * window was created with. */
static BOOL CALLBACK printText(HWND child, LPARAM out) {
  char text[1024];
  DWORD_PTR length = 0;
  if (SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 5000,
                          &length) &&
      length > 0) {
    fprintf((FILE*)out, "%s\n", text);
    ++printed;
  }
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
  /* A box whose controls say nothing yet is asked again. */
  return fclose(out) == 0 && printed > 0 ? 0 : 1;
}
