// The emulated machine's registry file, for tests and tools.
#pragma once

#include <string>

namespace platform::host {

// <prefix>/registry.reg, rewritten after every change to the registry.
std::string registryFilePath();

// Forgets the registry in memory and reads it from the file again, as a new process
// on the same prefix would. Keys opened before must not be used afterwards.
void reloadRegistry();

}  // namespace platform::host
