#include <windows.h>

#include <string>

#include "platform/Process.h"

namespace platform {

bool startProcessIn(const char* program, const char* commandLine, const char* folder) {
  if (program == nullptr || commandLine == nullptr || folder == nullptr) return false;
  // CreateProcessA may write into the command line.
  std::string line(commandLine);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(program, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                      &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace platform
