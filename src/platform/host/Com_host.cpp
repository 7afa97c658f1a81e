// The host has no COM; the calls succeed so the logic runs as on Windows.
#include "platform/Com.h"

namespace platform {

bool oleInitialize() {
  return true;
}
void oleUninitialize() {}

}  // namespace platform
