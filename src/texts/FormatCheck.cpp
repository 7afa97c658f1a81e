#include "texts/FormatCheck.h"

namespace texts {

bool conversionsOf(const char* text, std::string& letters) {
  letters.clear();
  if (text == nullptr) return true;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    switch (*p) {
      case '%':
        break;
      case 's':
      case 'd':
      case 'u':
        letters += *p;
        break;
      default:
        return false;
    }
  }
  return true;
}

bool sameConversions(const char* translation, const char* english) {
  std::string mine, ours;
  return conversionsOf(translation, mine) && conversionsOf(english, ours) && mine == ours;
}

}  // namespace texts
