// One of the program's own windows on the desktop: a toolkit window with a
// fixed client area, placed and kept on top through OwnWindow so that the
// console's, the splash's and the form's placement (StayOnTop, CenterWindow,
// the console at the top of the screen) is the same code as everywhere.
//
// Without a display (the views' tests), the window is never mapped: it
// only remembers whether it would be shown, where and whether on top.
#pragma once

#include <memory>
#include <string>

#include "bridge/own_window.h"
#include "windows/twips.h"

class Fl_Double_Window;

namespace zorvik {

// What the views know of the screen: its size in pixels, its resolution as
// a twip scale, and whether there is a display to map windows on at all.
struct DesktopScreen {
  ScreenSize size{1920, 1080};
  TwipScale scale;
  bool display = false;
};

class FlOwnWindow : public OwnWindow {
 public:
  enum class Frame {
    kDialog,      // title bar and close box, fixed size (console, form)
    kBorderless,  // no border or title bar (splash)
    kResizable,   // an ordinary window (room)
  };

  // `screen` must outlive the window. `width` and `height` are the client
  // area in pixels; `caption` is UTF-8.
  FlOwnWindow(const DesktopScreen& screen, int width, int height, const std::string& caption,
              Frame frame, bool in_taskbar);
  ~FlOwnWindow() override;

  // The toolkit window, for the views to put their widgets in. Its close box
  // does nothing until a view gives it a callback.
  Fl_Double_Window& window() { return *window_; }

  const DesktopScreen& desktop() const { return screen_; }

  WindowRect Bounds() const override;
  ScreenSize Screen() const override { return screen_.size; }
  void MoveTo(int left, int top) override;
  // Kept on top from now on: at once if shown, else when it is shown.
  void SetTopmost() override;
  bool topmost() const { return topmost_; }

  // Maps or unmaps the window (only remembered without a display). The
  // first map applies the frame and the states. Never dispatches.
  void SetShown(bool shown);
  bool shown() const { return shown_; }

 private:
  void RequestStates();

  const DesktopScreen& screen_;
  std::unique_ptr<Fl_Double_Window> window_;
  Frame frame_;
  bool in_taskbar_;
  bool topmost_ = false;
  bool shown_ = false;
};

}  // namespace zorvik
