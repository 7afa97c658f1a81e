// The running program image and how it loads libraries.
#pragma once

#include "platform/PlatformTypes.h"

namespace platform {

// The running program (GetModuleHandleW(nullptr)): never null. Its resources are
// found through it as through a null module.
ModuleHandle currentModule();

// Restricts where libraries are loaded from to the system folder
// (SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up at run time).
// Call it first thing. False when the system cannot do it; true on the host.
bool restrictDllLoading();

}  // namespace platform
