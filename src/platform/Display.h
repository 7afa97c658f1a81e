// The display's scale: how many dots an inch the monitor under a window has
// (96 is 100 %), and the program's promise to draw at that scale itself.
//
// A program that makes no promise is drawn by Windows at 96 dots an inch and
// enlarged as a picture on a finer monitor. One that declares itself aware of
// each monitor's scale is told the scale of the monitor its window is on, and
// when it changes (WM_DPICHANGED, with the rectangle the window should take).
#pragma once

#include "platform/PlatformTypes.h"

namespace platform {

constexpr int kDefaultDpi = 96;

// Declares the process aware of each monitor's scale, before its first window:
// per monitor (version 2, then the first form), else of the system's scale
// alone, whichever the system knows (the newer calls are looked up at run time).
// False when none could be declared; the system then enlarges the window as a
// picture. The host has nothing to declare.
bool declareScaleAware();

// The dots an inch of the monitor `window` is on (null: the primary monitor's),
// as the process sees it: 96 until it declared itself aware. On the host, the
// environment variable KESTRANE_SCALE (a factor such as 1.5 or 2) when it is
// set, else 96.
int displayDpi(WindowHandle window);

}  // namespace platform
