// The claim is an exclusive lock on <prefix>/<name>.instance, so it covers one
// emulated machine, as the Windows mutex covers one session, and goes with the
// process however it ends. The first copy writes its X11 window id into the file;
// a second copy raises that window directly, as a Windows program may bring
// another program's window to the front.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/Instance.h"
#include "platform/host/HostWindow.h"
#include "platform/host/Prefix.h"

namespace platform {
namespace {

struct HostClaim {
  int fd;
};

// Product names may hold anything; the file name keeps letters, digits and a
// few safe signs.
std::string claimPath(const char* name) {
  std::string file;
  for (const char* p = name; *p != '\0'; ++p) {
    const char c = *p;
    const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-' || c == '_';
    file += safe ? c : '_';
  }
  return host::prefixRoot() + "/" + file + ".instance";
}

int ignoreXErrors(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

InstanceClaim claimInstance(const char* name, bool& taken) {
  taken = false;
  if (name == nullptr) return nullptr;
  const int fd = open(claimPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    taken = errno == EWOULDBLOCK;
    close(fd);
    return nullptr;
  }
  // A window id left by an earlier holder that ended without a clean exit names
  // a window that is gone.
  if (ftruncate(fd, 0) != 0) {
    close(fd);
    return nullptr;
  }
  return new HostClaim{fd};
}

void releaseInstance(InstanceClaim claim) {
  auto* held = static_cast<HostClaim*>(claim);
  if (held == nullptr) return;
  // Emptied before it is unlocked, so no later copy raises a window of ours.
  if (ftruncate(held->fd, 0) != 0) {
    // The lock goes with the descriptor all the same.
  }
  close(held->fd);
  delete held;
}

bool markInstanceWindow(InstanceClaim claim, const char* name, WindowHandle window) {
  auto* held = static_cast<HostClaim*>(claim);
  host::HostWindow* w = host::findWindow(window);
  if (held == nullptr || name == nullptr || w == nullptr) return false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(w->sdl, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return false;
  }
  const std::string id = std::to_string(static_cast<unsigned long>(info.info.x11.window));
  return ftruncate(held->fd, 0) == 0 &&
         pwrite(held->fd, id.data(), id.size(), 0) == static_cast<ssize_t>(id.size());
}

bool activateInstance(const char* name) {
  if (name == nullptr) return false;
  const int fd = open(claimPath(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char text[32] = {};
  const ssize_t n = read(fd, text, sizeof text - 1);
  close(fd);
  if (n <= 0) return false;
  const unsigned long id = std::strtoul(text, nullptr, 10);
  if (id == 0) return false;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  // The window may be gone: X reports that asynchronously, as an error that
  // must not end this program.
  XErrorHandler previous = XSetErrorHandler(ignoreXErrors);
  XWindowAttributes attributes;
  const bool exists = XGetWindowAttributes(display, Window(id), &attributes) != 0;
  if (exists) {
    XMapRaised(display, Window(id));
    if (attributes.map_state == IsViewable) {
      XSetInputFocus(display, Window(id), RevertToParent, CurrentTime);
    }
    XSync(display, False);
  }
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return exists;
}

}  // namespace platform
