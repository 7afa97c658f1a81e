// Painting: the device contexts of a window and of memory, bitmaps, the one blit,
// and device-independent bitmaps painted into a device context.
//
// The program composes each frame in its own 24-bit DIB, paints that into a memory
// context holding a bitmap compatible with the window, and copies the bitmap to
// the window with one bitBlt. On the host a memory bitmap is a plain pixel buffer
// and the window's context is its SDL window surface.
#pragma once

#include "platform/PlatformTypes.h"

namespace platform {

// What beginPaint leaves for endPaint (a PAINTSTRUCT on Windows). Opaque.
struct PaintToken {
  alignas(8) unsigned char storage[80];
};

// The window's context for painting its invalid area (BeginPaint); validates the
// window. Null for a missing window. Every non-null answer needs one endPaint.
DeviceContext beginPaint(WindowHandle window, PaintToken& token);
// Ends the painting that beginPaint began (EndPaint).
void endPaint(WindowHandle window, PaintToken& token);

// A memory context like `dc` (CreateCompatibleDC), holding a 1 x 1 stock bitmap
// until another is selected. Null when it fails. Delete it with deleteDC.
DeviceContext createCompatibleDC(DeviceContext dc);
// A bitmap of width x height in the format of `dc` (CreateCompatibleBitmap). Null
// when it fails or a size is not positive. Delete it with deleteObject once it is
// no longer selected.
BitmapHandle createCompatibleBitmap(DeviceContext dc, int width, int height);
// Selects `object` (a bitmap) into the memory context and returns the one it
// replaces, to be selected back before the context is deleted. Null when it
// fails.
void* selectObject(DeviceContext dc, void* object);
// Copies width x height pixels from (sx, sy) of `src` to (x, y) of `dst`
// (BitBlt with SRCCOPY); on the host, a copy into a window is shown at once.
// False when it fails or a context is missing.
bool bitBlt(DeviceContext dst, int x, int y, int width, int height, DeviceContext src, int sx,
            int sy);
// Deletes a memory context (DeleteDC); its selected bitmap is not deleted.
bool deleteDC(DeviceContext dc);
// Deletes a bitmap (DeleteObject). False for null. Deselect it first: Windows
// refuses to delete a selected bitmap (so does the host), Wine puts it off.
bool deleteObject(void* object);

// A video-drawing session that a caller painting often may keep open across
// calls. Null when the video-drawing library is not available (always on the
// host, which paints without one).
DrawDibHandle openDrawDib();
// Ends a session from openDrawDib; null is ignored.
void closeDrawDib(DrawDibHandle drawDib);

// Paints a bottom-up DIB 1:1 with its top-left corner at (x, y) of `dc`. `info`
// is a BITMAPINFO (the header, then the colour table its depth needs), `bits` its
// rows, and width x height its size. Goes through `drawDib` when given; otherwise
// opens a session for this call and ends it, and paints with the plain DIB
// stretch only when no session can be had. The host paints 24-bit DIBs into
// memory contexts only. False when painting fails or any argument is missing.
bool paintDib(DeviceContext dc, DrawDibHandle drawDib, const void* info, const void* bits, int x,
              int y, int width, int height);

}  // namespace platform
