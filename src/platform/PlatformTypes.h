// Opaque handles that the logic passes through the platform layer untouched.
#pragma once

namespace platform {

// A loaded program image; null means the running program itself.
using ModuleHandle = void*;

// A top-level window; null means no owner.
using WindowHandle = void*;

// A device context to paint into.
using DeviceContext = void*;

// An open video-drawing (DrawDib) session; null means none.
using DrawDibHandle = void*;

// A loaded icon (loadIcon); null means none.
using IconHandle = void*;

// A cursor shape (loadArrowCursor); null means none.
using CursorHandle = void*;

// A device-dependent bitmap (createCompatibleBitmap); null means none.
using BitmapHandle = void*;

// A loaded keyboard accelerator table; null means none.
using AcceleratorHandle = void*;

// An open registry key or one of the predefined roots (HKEY_ in WinDefs.h).
using RegKey = void*;

}  // namespace platform
