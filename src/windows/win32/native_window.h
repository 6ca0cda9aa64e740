// One of the program's own windows on user32: a Unicode top-level window
// whose client area has the size its layout gives, placed by the host
// through OwnWindow (StayOnTop, CenterWindow, the console at the top edge).
// Its views add the controls and answer the window's messages.
//
// Window procedures run inside the loop's dispatch and inside modal loops
// (a message box, a pop-up menu): a handler must not dispatch itself. Views
// turn clicks into tasks posted on the loop.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/own_window.h"
#include "windows/twips.h"

namespace zorvik {

// The screen the windows are laid out for: its size in pixels and its
// resolution.
struct NativeScreen {
  ScreenSize size;
  TwipScale scale;
};

// The primary monitor, as the process sees it (the program asks to be
// told the real resolution, so this is the monitor's own DPI).
NativeScreen MeasureNativeScreen();

// The text a control of this program holds, as it is (UTF-16).
std::wstring ControlText(HWND control);

// A font of `points` at the screen's resolution; deleted with the object.
class NativeFont {
 public:
  NativeFont(const wchar_t* face, double points, const TwipScale& scale);
  ~NativeFont();
  NativeFont(const NativeFont&) = delete;
  NativeFont& operator=(const NativeFont&) = delete;
  HFONT get() const { return font_; }

 private:
  HFONT font_;
};

class NativeWindow : public OwnWindow {
 public:
  // Answers one message, or nullopt for the default handling.
  using Handler = std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)>;

  // A hidden window with a client area of `client_width` x `client_height`
  // pixels. `style` and `ex_style` are the WS_ and WS_EX_ flags. A window
  // with an `owner` stays out of the taskbar and above its owner.
  NativeWindow(const NativeScreen& screen, std::string_view caption, DWORD style, DWORD ex_style,
               int client_width, int client_height, HWND owner = nullptr);
  ~NativeWindow() override;

  HWND handle() const { return window_; }
  const NativeScreen& screen() const { return screen_; }
  void SetHandler(Handler handler) { handler_ = std::move(handler); }

  // Shows or hides the window (showing does not take the focus from
  // another program's window if the window is not in front already).
  void SetShown(bool shown);
  bool shown() const { return shown_; }

  // A child control at `place` (client pixels) with `text` and the
  // window's font. `id` comes back in WM_COMMAND.
  HWND AddControl(const wchar_t* control_class, std::string_view text, DWORD style, PixelRect place,
                  int id, HFONT font, DWORD ex_style = 0);

  WindowRect Bounds() const override;
  ScreenSize Screen() const override { return screen_.size; }
  void MoveTo(int left, int top) override;
  void SetTopmost() override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  NativeScreen screen_;
  HWND window_ = nullptr;
  Handler handler_;
  bool shown_ = false;
};

}  // namespace zorvik
