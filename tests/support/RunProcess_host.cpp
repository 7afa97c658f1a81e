#include "support/RunProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

int runBounded(const std::string& command, std::string& output, int timeoutSeconds) {
  output.clear();
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return -1;
  const pid_t pid = fork();
  if (pid < 0) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return -1;
  }
  if (pid == 0) {
    // A group of its own, so a timeout stops the shell and what it started.
    setpgid(0, 0);
    dup2(pipeEnds[1], STDOUT_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(pid, pid);
  close(pipeEnds[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  bool timedOut = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd watch{pipeEnds[0], POLLIN, 0};
    if (poll(&watch, 1, int(left.count())) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
    if (n <= 0) break;  // the end: every writer has closed it
    output.append(buffer, std::size_t(n));
  }
  close(pipeEnds[0]);
  if (timedOut) kill(-pid, SIGKILL);
  int status = 0;
  // The pipe closed, so the program is ending; a grandchild that kept the pipe is
  // covered by the deadline above.
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return -1;
    if (std::chrono::steady_clock::now() > deadline + std::chrono::seconds(5)) {
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    usleep(2000);
  }
  if (timedOut || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}
