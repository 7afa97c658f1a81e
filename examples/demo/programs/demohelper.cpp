// A helper library the demo product copies into the system folder, where other
// programs find it without a path.
#include <windows.h>

extern "C" DWORD WINAPI DemoHelperVersion() {
  return 0x00010000;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
