// The host has no device contexts yet: the SDL window, which will blit our back
// buffer itself, comes later. Until then every paint fails, as a Win32 paint into
// an unusable device context would.
#include "platform/Paint.h"

namespace platform {

DrawDibHandle openDrawDib() {
  return nullptr;
}

void closeDrawDib(DrawDibHandle) {}

bool paintDib(DeviceContext, DrawDibHandle, const void*, const void*, int, int, int, int) {
  return false;
}

}  // namespace platform
