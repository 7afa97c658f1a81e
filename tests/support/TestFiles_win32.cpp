#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "support/TestFiles.h"

// Through the platform's own calls, so that a path is read in the program's code
// page and not in the system's, which the C library would use.
bool readTestFile(const char* windowsPath, std::string& content) {
  const platform::FileId file =
      platform::createFile(windowsPath, GENERIC_READ, FILE_SHARE_READ, false, OPEN_EXISTING, 0);
  if (file == platform::kInvalidFile) return false;
  std::string read;
  char buffer[4096];
  std::uint32_t got = 0;
  bool ok = true;
  while ((ok = platform::readFile(file, buffer, sizeof buffer, &got)) && got > 0) {
    read.append(buffer, got);
  }
  platform::closeFile(file);
  if (ok) content = read;
  return ok;
}
