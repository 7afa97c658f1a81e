#include <cstdio>

#include "platform/ErrorText.h"

namespace platform {

int systemErrorText(unsigned long code, char* text, int size) {
  if (text == nullptr || size <= 0) return 0;
  text[0] = '\0';
  // The codes the host backend's calls give, in Windows' words.
  static const struct {
    unsigned long code;
    const char* text;
  } kTexts[] = {
      {2, "The system cannot find the file specified."},
      {3, "The system cannot find the path specified."},
      {5, "Access is denied."},
      {32, "The process cannot access the file because it is being used by another process."},
      {112, "There is not enough space on the disk."},
      {183, "Cannot create a file when that file already exists."},
  };
  for (const auto& known : kTexts) {
    if (known.code == code) {
      const int written = std::snprintf(text, static_cast<std::size_t>(size), "%s", known.text);
      return written < size ? written : size - 1;
    }
  }
  return 0;
}

}  // namespace platform
