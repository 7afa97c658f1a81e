// The demo's uninstaller in the host build, which cannot build the project's own
// Uninstall.exe (that needs the project's libraries built for Windows). kpack
// writes the same knowledge of the package into this file as into the real one;
// on the emulated machine of a prefix the host twin, build/host/bin/uninstall,
// reads it from here and removes the product. The Windows build packs the real
// Uninstall.exe instead.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr,
              "This is the stand-in uninstaller of the demo's host build.\n\n"
              "The Windows build of the demo carries the real Uninstall.exe.",
              "Uninstall Demo Product", MB_OK | MB_ICONINFORMATION);
  return 0;
}
