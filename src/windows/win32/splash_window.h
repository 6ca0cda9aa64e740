// The splash window on user32: no border or title bar, not in the taskbar,
// the title picture in a sunken box with "by vandor" on it. A click on the
// picture or the label is a click on the splash; the window shows and hides
// as the splash says.
#pragma once

#include <cstdint>
#include <vector>

#include "bridge/loop/win32_loop.h"
#include "windows/splash.h"
#include "windows/win32/native_window.h"

namespace zorvik {

class SplashWindow {
 public:
  static constexpr DWORD kStyle = WS_POPUP;
  static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

  // `window` is made with kStyle, kExStyle and the splash's client size.
  // All three must outlive the view.
  SplashWindow(Splash& splash, NativeWindow& window, Win32Loop& loop);
  ~SplashWindow();
  SplashWindow(const SplashWindow&) = delete;
  SplashWindow& operator=(const SplashWindow&) = delete;

 private:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void Paint();

  Splash& splash_;
  NativeWindow& window_;
  Win32Loop& loop_;
  NativeFont font_;
  PixelRect picture_;
  PixelRect byline_;
  // The title picture as a top-down 24-bit DIB; empty if it did not decode.
  BITMAPINFO info_{};
  std::vector<std::uint8_t> bits_;
};

}  // namespace zorvik
