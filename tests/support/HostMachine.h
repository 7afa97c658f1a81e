// Switches the emulated machine between a 32-bit and a 64-bit Windows, as a new
// process on the prefix would find it (host backend only).
#pragma once

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/host/HostRegistry.h"
#include "platform/host/Prefix.h"

inline void useMachine(bool x64) {
  const std::string file = platform::host::prefixRoot() + "/machine";
  if (x64) {
    std::ofstream(file) << "x64\n";
  } else {
    std::remove(file.c_str());
  }
  platform::host::reloadRegistry();
}
