#include "platform/sdl/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace platform::sdl {
namespace {

// Windows can vanish between the listing and the questions about them: their errors are
// expected and ignored while we ask (Xlib's own handler would end the process).
int IgnoreError(Display*, XErrorEvent*) { return 0; }

class ErrorTrap {
 public:
  explicit ErrorTrap(Display* d) : display_(d), previous_(XSetErrorHandler(IgnoreError)) {}
  ~ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
  }

 private:
  Display* display_;
  int (*previous_)(Display*, XErrorEvent*);
};

// A property's items (format 8, 32 or the like), or empty.
std::vector<unsigned char> Property(Display* d, Window w, Atom name, Atom type, int* format,
                                    unsigned long* items) {
  Atom actual = None;
  int actual_format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned char> out;
  *items = 0;
  if (XGetWindowProperty(d, w, name, 0, 1 << 16, False, type, &actual, &actual_format, &count,
                         &after, &data) == Success &&
      data != nullptr && actual != None) {
    const std::size_t unit = actual_format == 8    ? 1
                             : actual_format == 16 ? sizeof(short)
                                                   : sizeof(long);
    out.assign(data, data + count * unit);
    *format = actual_format;
    *items = count;
  }
  if (data != nullptr) XFree(data);
  return out;
}

std::vector<Window> WindowList(Display* d, Window w, Atom name) {
  int format = 0;
  unsigned long n = 0;
  const auto bytes = Property(d, w, name, XA_WINDOW, &format, &n);
  std::vector<Window> out;
  if (format != 32) return out;
  const auto* ids = reinterpret_cast<const unsigned long*>(bytes.data());
  for (unsigned long i = 0; i < n; ++i) out.push_back(static_cast<Window>(ids[i]));
  return out;
}

long CardinalOf(Display* d, Window w, Atom name, Atom type, long fallback) {
  int format = 0;
  unsigned long n = 0;
  const auto bytes = Property(d, w, name, type, &format, &n);
  if (format != 32 || n == 0) return fallback;
  return *reinterpret_cast<const long*>(bytes.data());
}

std::string Latin1ToUtf8(const unsigned char* s, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    if (s[i] < 0x80) {
      out += static_cast<char>(s[i]);
    } else {
      out += static_cast<char>(0xC0 | (s[i] >> 6));
      out += static_cast<char>(0x80 | (s[i] & 0x3F));
    }
  }
  return out;
}

std::string Title(Display* d, Window w) {
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  int format = 0;
  unsigned long n = 0;
  auto bytes = Property(d, w, XInternAtom(d, "_NET_WM_NAME", False), utf8, &format, &n);
  if (format == 8 && n > 0) return std::string(bytes.begin(), bytes.end());
  XTextProperty text{};
  std::string out;
  if (XGetWMName(d, w, &text) && text.value != nullptr) {
    if (text.encoding == XA_STRING) {
      out = Latin1ToUtf8(text.value, text.nitems);
    } else if (text.encoding == utf8) {
      out.assign(reinterpret_cast<const char*>(text.value), text.nitems);
    } else {
      char** list = nullptr;
      int count = 0;
      if (Xutf8TextPropertyToTextList(d, &text, &list, &count) >= Success && count > 0 && list) {
        out = list[0];
      }
      if (list != nullptr) XFreeStringList(list);
    }
    XFree(text.value);
  }
  return out;
}

bool Iconic(Display* d, Window w) {
  const Atom wm_state = XInternAtom(d, "WM_STATE", False);
  if (CardinalOf(d, w, wm_state, wm_state, 1) == IconicState) return true;
  const Atom hidden = XInternAtom(d, "_NET_WM_STATE_HIDDEN", False);
  for (Window a : WindowList(d, w, XInternAtom(d, "_NET_WM_STATE", False))) {
    if (a == hidden) return true;
  }
  return false;
}

// Without a window manager's client list, the top-level windows are the root's mapped
// children.
std::vector<Window> TopLevelWindows(Display* d) {
  const Window root = DefaultRootWindow(d);
  std::vector<Window> managed = WindowList(d, root, XInternAtom(d, "_NET_CLIENT_LIST", False));
  if (!managed.empty()) return managed;
  Window root_return = 0, parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  std::vector<Window> out;
  if (XQueryTree(d, root, &root_return, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n; ++i) {
      XWindowAttributes a{};
      if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable &&
          !a.override_redirect) {
        out.push_back(children[i]);
      }
    }
  }
  if (children != nullptr) XFree(children);
  return out;
}

void ActivateThroughManager(Display* d, Window w) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = 2;  // asked for by a pager-like tool: honoured by focus stealing rules
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

int LogError(Display* d, XErrorEvent* e) {
  char text[256] = {};
  XGetErrorText(d, e->error_code, text, sizeof text);
  std::fprintf(stderr, "hotaru: X error ignored: %s (request %d, resource 0x%lx)\n", text,
               static_cast<int>(e->request_code), e->resourceid);
  return 0;
}

}  // namespace

void LogXErrors() { XSetErrorHandler(LogError); }

X11Windows::~X11Windows() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

bool X11Windows::Connect() {
  if (!tried_) {
    tried_ = true;
    display_ = XOpenDisplay(nullptr);
  }
  return display_ != nullptr;
}

std::vector<ForeignWindow> X11Windows::List(std::uint64_t own) {
  std::vector<ForeignWindow> out;
  if (!Connect()) return out;
  ErrorTrap trap(display_);
  const Atom pid_atom = XInternAtom(display_, "_NET_WM_PID", False);
  const long own_pid = static_cast<long>(getpid());
  for (Window w : TopLevelWindows(display_)) {
    if (static_cast<std::uint64_t>(w) == own) continue;
    if (CardinalOf(display_, w, pid_atom, XA_CARDINAL, -1) == own_pid) continue;
    out.push_back(
        ForeignWindow{static_cast<std::uint64_t>(w), Title(display_, w), Iconic(display_, w)});
  }
  return out;
}

void X11Windows::Raise(std::uint64_t id) {
  if (!Connect()) return;
  ErrorTrap trap(display_);
  const Window w = static_cast<Window>(id);
  XRaiseWindow(display_, w);
  ActivateThroughManager(display_, w);
  XFlush(display_);
}

void X11Windows::Restore(std::uint64_t id) {
  if (!Connect()) return;
  ErrorTrap trap(display_);
  // Mapping a minimised window asks the window manager to show it again.
  XMapRaised(display_, static_cast<Window>(id));
  ActivateThroughManager(display_, static_cast<Window>(id));
  XFlush(display_);
}

bool X11Windows::WindowManagerRunning() {
  if (!Connect()) return false;
  ErrorTrap trap(display_);
  const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
  const std::vector<Window> root_says = WindowList(display_, DefaultRootWindow(display_), check);
  if (root_says.empty()) return false;
  // A manager that ended leaves a stale property: its window must point to itself.
  const std::vector<Window> child_says = WindowList(display_, root_says.front(), check);
  return !child_says.empty() && child_says.front() == root_says.front();
}

void X11Windows::MoveResize(std::uint64_t id, int x, int y, int width, int height) {
  if (!Connect() || id == 0) return;
  ErrorTrap trap(display_);
  XMoveResizeWindow(display_, static_cast<Window>(id), x, y, static_cast<unsigned>(width),
                    static_cast<unsigned>(height));
  XFlush(display_);
}

}  // namespace platform::sdl
