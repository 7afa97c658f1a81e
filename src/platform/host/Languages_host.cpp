#include <cstdlib>
#include <initializer_list>

#include "platform/Languages.h"

namespace platform {

std::uint16_t userLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    const std::uint16_t language = languageOfLocaleName(value);
    return language != 0 ? language : kEnglishLanguage;
  }
  return kEnglishLanguage;
}

}  // namespace platform
