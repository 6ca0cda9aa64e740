// The console Form1 on user32: the four frames as group boxes, the seat
// labels and the six buttons at the layout's places, the enabled states as
// the console says (a disabled "game controls" frame greys its buttons),
// Tab going through the buttons in the console's order. It shows what
// HostConsole holds and presses its buttons; it keeps no state of its own.
#pragma once

#include <array>
#include <memory>

#include "bridge/loop/win32_loop.h"
#include "match/host_console.h"
#include "windows/win32/native_window.h"

namespace zorvik {

class ConsoleWindow {
 public:
  // Window styles of the console: a fixed dialog frame with a caption and
  // a close box, no minimise or maximise box.
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

  // `window` is made with kStyle, kExStyle and the console's client size.
  // All three must outlive the view.
  ConsoleWindow(HostConsole& console, NativeWindow& window, Win32Loop& loop);
  ~ConsoleWindow();
  ConsoleWindow(const ConsoleWindow&) = delete;
  ConsoleWindow& operator=(const ConsoleWindow&) = delete;

  HWND button(ConsoleButton which) const;

 private:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void Refresh();

  HostConsole& console_;
  NativeWindow& window_;
  Win32Loop& loop_;
  NativeFont font_;
  std::array<HWND, 6> buttons_{};  // in kConsoleButtons order
  std::array<HWND, 2> seats_{};
  std::array<HWND, 2> creatures_{};
  std::array<HWND, 2> hps_{};
  HWND game_controls_ = nullptr;
  bool sync_posted_ = false;
};

}  // namespace zorvik
