#include "system/RunLog.h"

#include <cstdio>
#include <string>

#include "base/Paths.h"
#include "platform/ErrorText.h"
#include "platform/Text.h"

namespace {

// Windows-1252 to UTF-8: every character of the code page is in the Basic
// Multilingual Plane, so three bytes at most.
std::string toUtf8(const char* text) {
  std::string out;
  for (const char* p = text; *p != '\0'; ++p) {
    const unsigned c = platform::ansiCharToWide(static_cast<unsigned char>(*p));
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

bool RunLog::open(const char* path) {
  path_ = path;
  return file_.openFile(path, kOpenWrite | kOpenShareRead | kOpenCreate | kOpenNotInherited);
}

bool RunLog::line(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  const bool written = lineV(format, arguments);
  va_end(arguments);
  return written;
}

bool RunLog::lineV(const char* format, std::va_list arguments) {
  if (!isOpen()) return false;
  char text[4096];
  const int length = std::vsnprintf(text, sizeof text, format, arguments);
  if (length < 0) return false;
  const std::string utf8 = toUtf8(text) + "\r\n";
  return file_.write(utf8.data(), static_cast<std::uint32_t>(utf8.size()));
}

void RunLog::error(const char* what, unsigned long code) {
  char text[512];
  if (platform::systemErrorText(code, text, sizeof text) > 0) {
    line("error: %s: %lu (%s)", what, code, text);
  } else {
    line("error: %s: %lu", what, code);
  }
}

bool defaultLogPath(const char* fileName, SetupString& path) {
  char folder[kPathBufferSize];
  if (platform::getTempPath(folder, sizeof folder) == 0) return false;
  path = fileName;
  return joinPath(path, folder);
}
