// The host shell: special folders of the prefix, a preset browse answer, and a log
// of what the shell was asked to open.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Shell.h"
#include "platform/WinDefs.h"
#include "platform/host/Prefix.h"

namespace platform {

bool getSpecialFolderPath(int csidl, char* path) {
  if (path == nullptr) return false;
  const std::string folder = host::specialFolder(csidl);
  if (folder.empty() || folder.size() >= std::size_t(MAX_PATH)) return false;
  host::prefixRoot();  // the folder exists once the prefix does
  std::memcpy(path, folder.c_str(), folder.size() + 1);
  return true;
}

bool browseForFolder(WindowHandle, const char*, char* path) {
  // <prefix>/browse.answer holds the folder a test wants chosen; an empty answer
  // is a cancel.
  if (path == nullptr) return false;
  std::FILE* f = std::fopen((host::prefixRoot() + "/browse.answer").c_str(), "rb");
  if (f == nullptr) return false;
  char line[MAX_PATH + 2] = {};
  const bool read = std::fgets(line, sizeof line, f) != nullptr;
  std::fclose(f);
  std::size_t n = read ? std::strlen(line) : 0;
  while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
  if (n == 0 || n >= std::size_t(MAX_PATH)) return false;
  std::memcpy(path, line, n + 1);
  return true;
}

bool shellExecute(WindowHandle, const char* verb, const char* file, const char* parameters,
                  const char* folder, int show) {
  std::FILE* log = std::fopen((host::prefixRoot() + "/shell.log").c_str(), "ab");
  if (log == nullptr) return false;
  auto text = [](const char* s) { return s != nullptr ? s : ""; };
  const bool ok = std::fprintf(log, "ShellExecute\t%s\t%s\t%s\t%s\t%d\n", text(verb), text(file),
                               text(parameters), text(folder), show) > 0;
  return std::fclose(log) == 0 && ok;
}

void notifyAssociationsChanged() {
  if (std::FILE* log = std::fopen((host::prefixRoot() + "/shell.log").c_str(), "ab")) {
    std::fputs("SHChangeNotify\tSHCNE_ASSOCCHANGED\n", log);
    std::fclose(log);
  }
}

}  // namespace platform
