// Text between the host's ANSI code page and the UTF-8 that SDL, zenity and the
// desktop speak. Nothing outside src/platform/host includes this.
#pragma once

#include <string>

namespace platform::host {

// A character the other side cannot hold becomes '?'.
std::string ansiToUtf8(const char* text);
std::string utf8ToAnsi(const char* text);

}  // namespace platform::host
