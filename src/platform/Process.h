// Processes: the running program's file, starting another program and waiting for
// one to end. The uninstaller needs them to remove its own file, which Windows
// will not delete while the program runs from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The full path of the running program's file (GetModuleFileNameW) into `buffer`.
// Returns the length written, or 0 on failure (including a buffer too small, and
// a path Windows-1252 cannot name even by its short form). On the host 0: the host program does not
// live on the emulated machine.
int moduleFileName(char* buffer, int bufferSize);

// The program's arguments after its own name, in Windows-1252. On Windows they
// are read again from the Unicode command line (GetCommandLineW and
// CommandLineToArgvW): the C library's `argv` holds them in the system's code
// page, which may be another. An argument the code page cannot hold is named by
// its short form when it is a path that has one, else given with '?' for what is
// missing. On the host `argv` as it is.
std::vector<std::string> programArguments(int argc, char** argv);

// The whole command line as it was given (GetCommandLineW), in Windows-1252 with
// '?' for what the code page cannot hold: for a switch that takes the rest of it
// unsplit. On the host `argv` joined by spaces, each argument that holds one
// quoted.
std::string programCommandLine(int argc, char** argv);

// Starts `program` with the whole command line `commandLine` (its first word is
// the program's own name, as CreateProcessW expects) and lets it run on its own.
// False when the system refuses. On the host the start is written to
// <prefix>/shell.log, as shell execution is: a Windows program cannot run there.
bool startProcess(const char* program, const char* commandLine);

// As startProcess, with `folder` as the new process's working folder instead of
// this one's (which Windows could then not remove while it runs). On the host the
// folder is written to the log line too.
bool startProcessIn(const char* program, const char* commandLine, const char* folder);

// The running process's id (GetCurrentProcessId).
std::uint32_t currentProcessId();

// Waits up to `milliseconds` for process `id` to end. True when it has ended or no
// longer exists; false when it still runs after the wait.
bool waitForProcessEnd(std::uint32_t id, std::uint32_t milliseconds);

// Sleep.
void sleepFor(std::uint32_t milliseconds);

// Milliseconds since a fixed moment (GetTickCount). It wraps after 49 days: only
// differences of two readings mean anything.
std::uint32_t tickCount();

}  // namespace platform
