#include <windows.h>

#include <ole2.h>

#include "platform/Com.h"

namespace platform {

bool oleInitialize() {
  return SUCCEEDED(OleInitialize(nullptr));
}

void oleUninitialize() {
  OleUninitialize();
}

}  // namespace platform
