#include <ole2.h>
#include <windows.h>

#include "platform/Com.h"

namespace platform {

bool oleInitialize() {
  return SUCCEEDED(OleInitialize(nullptr));
}

void oleUninitialize() {
  OleUninitialize();
}

}  // namespace platform
