// What the desktop asks of the window system for the program's own
// windows, beyond what the toolkit offers: opening the display without
// dying when there is none, keeping a window above the others, leaving it
// out of the taskbar, a fixed dialog frame. Split by platform: on X11 these
// are EWMH and Motif hints (window_state_x11.cpp).
#pragma once

#include <string>
#include <vector>

class Fl_Window;

namespace zorvik {

// Opens the display for the toolkit. False, with the reason, when there is
// none (the toolkit itself would end the program instead).
bool OpenDesktopDisplay(std::string& reason);

// The states a shown window asks the window manager for.
struct WindowStates {
  bool above = false;         // kept above windows that are not above themselves
  bool skip_taskbar = false;  // not listed in the taskbar
};

// Asks for `states` on a shown window (nothing for a hidden one). Called
// right after the window is first shown, the request reaches the window
// manager before it manages the window; later calls ask it as a message.
// Never dispatches.
void RequestWindowStates(Fl_Window& window, WindowStates states);

// Asks for a dialog frame on a shown window: a title bar and a close box,
// no minimise or maximise box. (The window's fixed size is the toolkit's.)
void RequestDialogFrame(Fl_Window& window);

// The states the window has asked for, as the window system's names
// ("_NET_WM_STATE_ABOVE", ...). For checks on a live display.
std::vector<std::string> RequestedWindowStates(Fl_Window& window);

}  // namespace zorvik
