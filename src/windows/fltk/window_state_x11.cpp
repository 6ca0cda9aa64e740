#include "windows/fltk/window_state.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>

namespace zorvik {

namespace {

constexpr long kNetWmStateAdd = 1;
constexpr long kSourceApplication = 1;

// _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
constexpr long kMwmHintsFunctions = 1;
constexpr long kMwmHintsDecorations = 2;
constexpr long kMwmFuncMove = 4;
constexpr long kMwmFuncClose = 32;
constexpr long kMwmDecorBorder = 2;
constexpr long kMwmDecorTitle = 8;
constexpr long kMwmDecorMenu = 16;

Atom AtomNamed(const char* name) {
  return XInternAtom(fl_display, name, False);
}

}  // namespace

bool OpenDesktopDisplay(std::string& reason) {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') {
    reason = "DISPLAY is not set";
    return false;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    reason = std::string("cannot open display ") + name;
    return false;
  }
  fl_open_display(display);
  return true;
}

void RequestWindowStates(Fl_Window& window, WindowStates states) {
  if (!window.shown() || fl_display == nullptr) return;
  const Window xid = fl_xid(&window);
  if (xid == 0) return;
  std::vector<Atom> atoms;
  if (states.above) atoms.push_back(AtomNamed("_NET_WM_STATE_ABOVE"));
  if (states.skip_taskbar) atoms.push_back(AtomNamed("_NET_WM_STATE_SKIP_TASKBAR"));
  if (atoms.empty()) return;
  const Atom net_wm_state = AtomNamed("_NET_WM_STATE");
  // The property, for a window manager that has not taken the window yet
  // (the map request is still in our output buffer) and for none at all...
  XChangeProperty(fl_display, xid, net_wm_state, XA_ATOM, 32, PropModeAppend,
                  reinterpret_cast<const unsigned char*>(atoms.data()),
                  static_cast<int>(atoms.size()));
  // ...and the message, for one that manages it already.
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = xid;
  event.xclient.message_type = net_wm_state;
  event.xclient.format = 32;
  event.xclient.data.l[0] = kNetWmStateAdd;
  event.xclient.data.l[1] = static_cast<long>(atoms[0]);
  event.xclient.data.l[2] = atoms.size() > 1 ? static_cast<long>(atoms[1]) : 0;
  event.xclient.data.l[3] = kSourceApplication;
  XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(fl_display);
}

void RequestDialogFrame(Fl_Window& window) {
  if (!window.shown() || fl_display == nullptr) return;
  const Window xid = fl_xid(&window);
  if (xid == 0) return;
  const long hints[5] = {kMwmHintsFunctions | kMwmHintsDecorations, kMwmFuncMove | kMwmFuncClose,
                         kMwmDecorBorder | kMwmDecorTitle | kMwmDecorMenu, 0, 0};
  const Atom motif = AtomNamed("_MOTIF_WM_HINTS");
  XChangeProperty(fl_display, xid, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(hints), 5);
  XFlush(fl_display);
}

std::vector<std::string> RequestedWindowStates(Fl_Window& window) {
  std::vector<std::string> names;
  if (!window.shown() || fl_display == nullptr) return names;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(fl_display, fl_xid(&window), AtomNamed("_NET_WM_STATE"), 0, 64, False,
                         XA_ATOM, &type, &format, &count, &after, &data) != Success) {
    return names;
  }
  if (data != nullptr && format == 32) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
      char* name = XGetAtomName(fl_display, atoms[i]);
      if (name != nullptr) {
        names.emplace_back(name);
        XFree(name);
      }
    }
  }
  if (data != nullptr) XFree(data);
  return names;
}

}  // namespace zorvik
