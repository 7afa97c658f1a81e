#include "base/Memory.h"

#include <cstdlib>

void outOfMemory() {
  std::abort();
}
