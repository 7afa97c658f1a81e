#include <windows.h>

#include <string>

#include "platform/Process.h"

namespace platform {

int moduleFileName(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  const DWORD length = GetModuleFileNameA(nullptr, buffer, DWORD(bufferSize));
  return (length == 0 || length >= DWORD(bufferSize)) ? 0 : int(length);
}

bool startProcess(const char* program, const char* commandLine) {
  if (program == nullptr || commandLine == nullptr) return false;
  // CreateProcessA may write into the command line.
  std::string line(commandLine);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(program, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

std::uint32_t currentProcessId() {
  return GetCurrentProcessId();
}

bool waitForProcessEnd(std::uint32_t id, std::uint32_t milliseconds) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (process == nullptr) return true;
  const DWORD result = WaitForSingleObject(process, milliseconds);
  CloseHandle(process);
  return result == WAIT_OBJECT_0;
}

void sleepFor(std::uint32_t milliseconds) {
  Sleep(milliseconds);
}

std::uint32_t tickCount() {
  return GetTickCount();
}

}  // namespace platform
