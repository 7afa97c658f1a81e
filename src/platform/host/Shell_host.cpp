// The host shell: special folders of the prefix, the browse answer (preset, or
// zenity's), and a log of what the shell was asked to open.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Shell.h"
#include "platform/WinDefs.h"
#include "platform/host/HostText.h"
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

namespace {

// How long zenity may keep the folder browser open before it is ended.
constexpr int kBrowseSeconds = 15 * 60;

bool onPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string list(path);
  for (std::size_t start = 0; start <= list.size();) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    const std::string candidate = list.substr(start, end - start) + "/" + program;
    if (end > start && access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Runs zenity's folder chooser (no shell) and returns the chosen host folder.
// False when it was cancelled, failed or ran out of time.
bool askZenity(const char* title, std::string& chosen) {
  int out[2];
  if (pipe(out) != 0) return false;
  const std::string titleArgument = "--title=" + host::ansiToUtf8(title != nullptr ? title : "");
  const pid_t child = fork();
  if (child < 0) {
    close(out[0]);
    close(out[1]);
    return false;
  }
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    const char* argv[] = {"zenity", "--file-selection", "--directory", titleArgument.c_str(),
                          nullptr};
    execvp("zenity", const_cast<char* const*>(argv));
    _exit(127);
  }
  close(out[1]);
  std::string text;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kBrowseSeconds);
  bool timedOut = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd fd = {out[0], POLLIN, 0};
    const int ready = poll(&fd, 1, int(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    char buffer[512];
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;  // zenity closed its output: it is done
    text.append(buffer, std::size_t(n));
    if (text.size() > 4 * MAX_PATH) break;
  }
  close(out[0]);
  if (timedOut) kill(child, SIGTERM);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  chosen = text;
  return !chosen.empty();
}

// A Windows path stays as it is; a host path is mapped back onto its drive.
bool answerToPath(const std::string& answer, char* path) {
  std::string windowsPath = answer;
  if (!answer.empty() && answer[0] == '/' && !host::fromHostPath(answer, windowsPath)) {
    return false;
  }
  if (windowsPath.empty() || windowsPath.size() >= std::size_t(MAX_PATH)) return false;
  std::memcpy(path, windowsPath.c_str(), windowsPath.size() + 1);
  return true;
}

}  // namespace

bool browseForFolder(WindowHandle, const char* title, char* path) {
  if (path == nullptr) return false;
  // <prefix>/browse.answer holds the folder a test wants chosen, and always wins;
  // an empty answer is a cancel.
  if (std::FILE* f = std::fopen((host::prefixRoot() + "/browse.answer").c_str(), "rb")) {
    char line[4 * MAX_PATH] = {};
    const bool read = std::fgets(line, sizeof line, f) != nullptr;
    std::fclose(f);
    std::size_t n = read ? std::strlen(line) : 0;
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
    return answerToPath(line, path);
  }
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0' || !onPath("zenity")) return false;
  std::string chosen;
  return askZenity(title, chosen) && answerToPath(chosen, path);
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

bool isElevated() {
  return false;
}

bool shellExecuteFromDesktop(const char*, const char*, const char*, int) {
  return false;
}

void notifyAssociationsChanged() {
  if (std::FILE* log = std::fopen((host::prefixRoot() + "/shell.log").c_str(), "ab")) {
    std::fputs("SHChangeNotify\tSHCNE_ASSOCCHANGED\n", log);
    std::fclose(log);
  }
}

}  // namespace platform
