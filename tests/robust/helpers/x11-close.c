/* Asks a window to close as a window manager does when its close button is
 * pressed: a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW. Debian's
 * xdotool has no such command. Exits with 1 when the display or the window is
 * not there.
 *
 *   x11-close WINDOW-ID   (decimal or 0x hexadecimal)
 */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

static int failed = 0;

static int noteError(Display* display, XErrorEvent* error) {
  (void)display;
  (void)error;
  failed = 1;
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: x11-close WINDOW-ID\n");
    return 2;
  }
  const Window window = (Window)strtoul(argv[1], NULL, 0);
  Display* display = XOpenDisplay(NULL);
  if (display == NULL || window == 0) return 1;
  XSetErrorHandler(noteError);
  XEvent event = {0};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return failed;
}
