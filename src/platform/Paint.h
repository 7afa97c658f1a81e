// Painting device-independent bitmaps into a device context.
#pragma once

#include "platform/PlatformTypes.h"

namespace platform {

// A video-drawing session that a caller painting often may keep open across
// calls. Null when the video-drawing library is not available.
DrawDibHandle openDrawDib();
// Ends a session from openDrawDib; null is ignored.
void closeDrawDib(DrawDibHandle drawDib);

// Paints a bottom-up DIB 1:1 with its top-left corner at (x, y) of `dc`. `info`
// is a BITMAPINFO (the header, then the colour table its depth needs), `bits` its
// rows, and width x height its size. Goes through `drawDib` when given; otherwise
// opens a session for this call and ends it, and paints with the plain DIB
// stretch only when no session can be had. False when painting fails or any
// argument is missing.
bool paintDib(DeviceContext dc, DrawDibHandle drawDib, const void* info, const void* bits, int x,
              int y, int width, int height);

}  // namespace platform
