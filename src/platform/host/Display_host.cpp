#include <cmath>
#include <cstdlib>

#include "platform/Display.h"

namespace platform {

bool declareScaleAware() {
  return true;
}

int displayDpi(WindowHandle) {
  const char* scale = std::getenv("KESTRANE_SCALE");
  if (scale == nullptr || *scale == '\0') return kDefaultDpi;
  char* end = nullptr;
  const double factor = std::strtod(scale, &end);
  // Anything but a plain factor from 1 to 4 is the display's default.
  if (end == scale || *end != '\0' || !(factor >= 1.0 && factor <= 4.0)) return kDefaultDpi;
  return int(std::lround(factor * kDefaultDpi));
}

}  // namespace platform
