#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/Process.h"
#include "platform/win32/WideText.h"

namespace platform {

int moduleFileName(char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  wchar_t wide[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, wide, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  const int n = win32::narrowPath(wide, buffer, bufferSize);
  return n > 0 ? n : 0;
}

std::vector<std::string> programArguments(int, char**) {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) {
    char text[32768];
    if (win32::narrowPath(wide[i], text, sizeof text) < 0) {
      win32::narrowLossy(wide[i], text, sizeof text);
    }
    arguments.push_back(text);
  }
  LocalFree(wide);
  return arguments;
}

std::string programCommandLine(int, char**) {
  std::string line(32768, '\0');
  const int length =
      win32::narrowLossy(GetCommandLineW(), line.data(), static_cast<int>(line.size()));
  line.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return line;
}

namespace {

// Starts `program` with `commandLine`, in `folder` (null: this process's own).
bool start(const char* program, const char* commandLine, const char* folder) {
  if (program == nullptr || commandLine == nullptr) return false;
  // CreateProcessW may write into the command line.
  win32::Wide line(commandLine);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(win32::Wide(program).get(), const_cast<wchar_t*>(line.get()), nullptr,
                      nullptr, FALSE, 0, nullptr, win32::Wide(folder).get(), &startup, &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace

bool startProcess(const char* program, const char* commandLine) {
  return start(program, commandLine, nullptr);
}

bool startProcessIn(const char* program, const char* commandLine, const char* folder) {
  return folder != nullptr && start(program, commandLine, folder);
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
