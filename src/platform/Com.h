// COM on the calling thread, for the shell objects the install pass uses.
#pragma once

namespace platform {

bool oleInitialize();
void oleUninitialize();

}  // namespace platform
