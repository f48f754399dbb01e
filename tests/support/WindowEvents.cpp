#include "WindowEvents.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <dlfcn.h>
#include <thread>

namespace qm_test {

namespace {

// Xlib is reached through dlopen: the engine's window library has it loaded
// already, and the test build does not link it directly.
struct Xlib {
  Display *(*open_display)(const char *);
  int (*close_display)(Display *);
  Atom (*intern_atom)(Display *, const char *, Bool);
  Status (*send_event)(Display *, Window, Bool, long, XEvent *);
  int (*sync)(Display *, Bool);
  KeyCode (*keysym_to_keycode)(Display *, KeySym);
  Window (*default_root_window)(Display *);
};

template <typename Function> bool find(void *p_library, const char *name, Function &function) {
  function = reinterpret_cast<Function>(dlsym(p_library, name));
  return function != nullptr;
}

const Xlib *xlib() {
  static Xlib functions;
  static const bool loaded = [] {
    void *p_library = dlopen("libX11.so.6", RTLD_NOW);
    return p_library && find(p_library, "XOpenDisplay", functions.open_display) &&
           find(p_library, "XCloseDisplay", functions.close_display) &&
           find(p_library, "XInternAtom", functions.intern_atom) &&
           find(p_library, "XSendEvent", functions.send_event) &&
           find(p_library, "XSync", functions.sync) &&
           find(p_library, "XKeysymToKeycode", functions.keysym_to_keycode) &&
           find(p_library, "XDefaultRootWindow", functions.default_root_window);
  }();
  return loaded ? &functions : nullptr;
}

// Runs send on a connection of its own, then waits for the server to have
// handled it and gives the window's connection a moment to receive it.
template <typename Send> bool withDisplay(Send send) {
  const Xlib *p_xlib = xlib();
  if (!p_xlib) {
    return false;
  }
  Display *p_display = p_xlib->open_display(nullptr);
  if (!p_display) {
    return false;
  }
  const bool sent = send(*p_xlib, p_display);
  p_xlib->sync(p_display, False);
  p_xlib->close_display(p_display);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return sent;
}

} // namespace

bool sendCloseRequest(const sf::Window &window) {
  const Window target = window.getSystemHandle();
  return withDisplay([target](const Xlib &x, Display *p_display) {
    XEvent close_event{};
    close_event.xclient.type = ClientMessage;
    close_event.xclient.window = target;
    close_event.xclient.message_type = x.intern_atom(p_display, "WM_PROTOCOLS", False);
    close_event.xclient.format = 32;
    close_event.xclient.data.l[0] =
        static_cast<long>(x.intern_atom(p_display, "WM_DELETE_WINDOW", False));
    close_event.xclient.data.l[1] = CurrentTime;
    return x.send_event(p_display, target, False, NoEventMask, &close_event) != 0;
  });
}

bool sendPointerMove(const sf::Window &window, int x, int y) {
  const Window target = window.getSystemHandle();
  return withDisplay([=](const Xlib &xl, Display *p_display) {
    XEvent motion_event{};
    motion_event.xmotion.type = MotionNotify;
    motion_event.xmotion.display = p_display;
    motion_event.xmotion.window = target;
    motion_event.xmotion.root = xl.default_root_window(p_display);
    motion_event.xmotion.subwindow = None;
    motion_event.xmotion.x = x;
    motion_event.xmotion.y = y;
    motion_event.xmotion.same_screen = True;
    return xl.send_event(p_display, target, True, PointerMotionMask, &motion_event) != 0;
  });
}

bool sendKey(const sf::Window &window, unsigned long keysym, bool pressed, unsigned long time_ms) {
  const Window target = window.getSystemHandle();
  return withDisplay([=](const Xlib &x, Display *p_display) {
    XEvent key_event{};
    key_event.xkey.type = pressed ? KeyPress : KeyRelease;
    key_event.xkey.display = p_display;
    key_event.xkey.window = target;
    key_event.xkey.root = x.default_root_window(p_display);
    key_event.xkey.subwindow = None;
    key_event.xkey.time = time_ms;
    key_event.xkey.same_screen = True;
    key_event.xkey.keycode = x.keysym_to_keycode(p_display, keysym);
    const long mask = pressed ? KeyPressMask : KeyReleaseMask;
    return key_event.xkey.keycode != 0 && x.send_event(p_display, target, True, mask, &key_event);
  });
}

} // namespace qm_test
