// The demo product's uninstall program. It only says what a real one would
// remove; removing a product is the work of the uninstaller proper.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr,
              "Uninstalling Demo Product would remove:\n\n"
              "  - the install folder and its files\n"
              "  - demohelper.dll from the system folder\n"
              "  - the Start-menu folder and the desktop link\n"
              "  - the Demo Document, Note and Picture file types\n"
              "  - the shell extension's class registration\n"
              "  - the settings and this uninstall entry\n\n"
              "This demo leaves everything in place.",
              "Uninstall Demo Product", MB_OK | MB_ICONINFORMATION);
  return 0;
}
