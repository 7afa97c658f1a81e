// Reading back what a window shows, with the system's own calls: the host window
// surface, or GetDC and GetPixel under Windows.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

// The colour shown at client point (x, y), as 0x00RRGGBB. False when it cannot
// be read (on Windows also when there is no display to paint on).
bool readShownPixel(platform::WindowHandle window, int x, int y, std::uint32_t& rgb);

// Whether top-level windows can be made here: always on the host (SDL's dummy
// driver will do); under Wine only with a display.
bool windowsCanBeCreated();
