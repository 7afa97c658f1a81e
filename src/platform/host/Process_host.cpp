#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/Process.h"
#include "platform/host/Prefix.h"

namespace platform {

int moduleFileName(char*, int) {
  return 0;
}

std::vector<std::string> programArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(argv[i]);
  return arguments;
}

std::string programCommandLine(int argc, char** argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    const std::string argument = argv[i];
    if (i > 0) line += ' ';
    const bool quoted = argument.find_first_of(" \t") != std::string::npos;
    line += quoted ? '"' + argument + '"' : argument;
  }
  return line;
}

bool startProcess(const char* program, const char* commandLine) {
  if (program == nullptr || commandLine == nullptr) return false;
  std::FILE* log = std::fopen((host::prefixRoot() + "/shell.log").c_str(), "ab");
  if (log == nullptr) return false;
  const bool ok = std::fprintf(log, "CreateProcess\t%s\t%s\n", program, commandLine) > 0;
  return std::fclose(log) == 0 && ok;
}

bool startProcessIn(const char* program, const char* commandLine, const char* folder) {
  if (program == nullptr || commandLine == nullptr || folder == nullptr) return false;
  std::FILE* log = std::fopen((host::prefixRoot() + "/shell.log").c_str(), "ab");
  if (log == nullptr) return false;
  const bool ok =
      std::fprintf(log, "CreateProcess\t%s\t%s\t%s\n", program, commandLine, folder) > 0;
  return std::fclose(log) == 0 && ok;
}

std::uint32_t currentProcessId() {
  return std::uint32_t(getpid());
}

bool waitForProcessEnd(std::uint32_t id, std::uint32_t milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    if (kill(pid_t(id), 0) != 0 && errno == ESRCH) return true;
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void sleepFor(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint32_t tickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

}  // namespace platform
