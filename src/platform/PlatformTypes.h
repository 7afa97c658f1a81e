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

// An open registry key or one of the predefined roots (HKEY_ in WinDefs.h).
using RegKey = void*;

}  // namespace platform
