// A small X11 client for the smoke test: finds, lists and closes the
// top-level windows of a display the way a window manager would, so the test
// needs nothing beyond Xlib.
//
//   x11_window_probe wait <title> <seconds>  exit 0 once a viewable top-level
//                                            window that is no dialog has that
//                                            title
//   x11_window_probe others <title>          print every other viewable
//                                            top-level window; exit 1 if any
//   x11_window_probe close <title>           ask that window to close
//                                            (WM_DELETE_WINDOW)
//
// A message box carries the program's title too; it is told apart as a
// dialog (transient for another window, or of the dialog window type).
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TTopWindow {
  Window Id;
  std::string Title;
  bool Dialog;
};

bool IsDialog(Display* display, Window window) {
  Window owner = 0;
  if (XGetTransientForHint(display, window, &owner) && owner != 0) return true;
  const Atom typeAtom = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
  const Atom dialogAtom = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  Atom actualType = 0;
  int actualFormat = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  bool dialog = false;
  if (XGetWindowProperty(display, window, typeAtom, 0, 32, False, XA_ATOM, &actualType, &actualFormat,
                         &count, &remaining, &data) == Success &&
      data != nullptr && actualFormat == 32) {
    const Atom* types = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) dialog = dialog || types[i] == dialogAtom;
  }
  if (data) XFree(data);
  return dialog;
}

std::string WindowTitle(Display* display, Window window) {
  char* name = nullptr;
  std::string title;
  if (XFetchName(display, window, &name) && name) title = name;
  if (name) XFree(name);
  return title;
}

// Viewable input-output children of the root: without a window manager these
// are exactly the program's own top-level windows.
std::vector<TTopWindow> TopWindows(Display* display) {
  std::vector<TTopWindow> result;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
    return result;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, children[i], &attributes)) continue;
    if (attributes.map_state != IsViewable || attributes.c_class != InputOutput) continue;
    result.push_back({children[i], WindowTitle(display, children[i]), IsDialog(display, children[i])});
  }
  if (children) XFree(children);
  return result;
}

bool FindWindow(Display* display, const std::string& title, Window& found) {
  for (const TTopWindow& w : TopWindows(display))
    if (w.Title == title && !w.Dialog) {
      found = w.Id;
      return true;
    }
  return false;
}

int Wait(Display* display, const std::string& title, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  Window found = 0;
  while (!FindWindow(display, title, found)) {
    if (std::chrono::steady_clock::now() > end) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return 0;
}

int Others(Display* display, const std::string& title) {
  int others = 0;
  for (const TTopWindow& w : TopWindows(display))
    if (w.Title != title || w.Dialog) {
      std::printf("unexpected %s: \"%s\"\n", w.Dialog ? "dialog" : "window", w.Title.c_str());
      ++others;
    }
  return others == 0 ? 0 : 1;
}

int Close(Display* display, const std::string& title) {
  Window window = 0;
  if (!FindWindow(display, title, window)) return 1;
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s wait|others|close <title> [seconds]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "cannot open the X display\n");
    return 2;
  }
  const std::string command = argv[1], title = argv[2];
  int rc = 2;
  if (command == "wait")
    rc = Wait(display, title, argc > 3 ? std::atof(argv[3]) : 20.0);
  else if (command == "others")
    rc = Others(display, title);
  else if (command == "close")
    rc = Close(display, title);
  XCloseDisplay(display);
  return rc;
}
