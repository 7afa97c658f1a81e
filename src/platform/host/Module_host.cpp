#include "platform/Module.h"

namespace platform {

ModuleHandle currentModule() {
  // Any non-null value names the program itself; its own address is one no other
  // handle can have.
  static const char self = 0;
  return const_cast<char*>(&self);
}

bool restrictDllLoading() {
  return true;
}

}  // namespace platform
