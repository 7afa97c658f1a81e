#include "platform/host/HostWindowState.h"
#include "support/WindowProbe.h"

bool readShownPixel(platform::WindowHandle window, int x, int y, std::uint32_t& rgb) {
  return platform::host::readWindowPixel(window, x, y, rgb);
}

bool windowsCanBeCreated() {
  return true;
}
