// Asks a window to close as a window manager does when its close button is
// clicked: a WM_PROTOCOLS client message naming WM_DELETE_WINDOW.
// Usage: close_request <window id>; 0 once the request is sent.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fputs("usage: close_request <window id>\n", stderr);
    return 2;
  }
  ::Display *p_display = XOpenDisplay(nullptr);
  if (p_display == nullptr) {
    std::fputs("close_request: no X display\n", stderr);
    return 1;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  XEvent request = {};
  request.xclient.type = ClientMessage;
  request.xclient.window = window;
  request.xclient.message_type = XInternAtom(p_display, "WM_PROTOCOLS", False);
  request.xclient.format = 32;
  request.xclient.data.l[0] = static_cast<long>(XInternAtom(p_display, "WM_DELETE_WINDOW", False));
  request.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(p_display, window, False, NoEventMask, &request);
  XCloseDisplay(p_display);
  return sent != 0 ? 0 : 1;
}
