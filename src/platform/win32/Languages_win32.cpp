#include <windows.h>

#include "platform/Languages.h"

namespace platform {

std::uint16_t userLanguage() {
  return std::uint16_t(GetUserDefaultUILanguage());
}

}  // namespace platform
