// One of the program's own windows, as far as placing it goes. Abstract so
// that the placement arithmetic (StayOnTop, CenterWindow, the console at the
// top of the screen) is the same for the desktop views, the text console and
// the replay, and is tested without a display.
#pragma once

#include <cmath>
#include <limits>

namespace zorvik {

// `value` as a whole number of units, rounded to the nearest (halves away
// from zero) and clamped to the int range; NaN is 0. Every placement and
// layout computed in double comes to the screen through this.
inline int RoundToInt(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = std::round(value);
  if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (rounded <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(rounded);
}

// Positions and sizes in the window system's units (pixels on a desktop).
struct WindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ScreenSize {
  int width = 0;
  int height = 0;
};

class OwnWindow {
 public:
  OwnWindow() = default;
  OwnWindow(const OwnWindow&) = delete;
  OwnWindow& operator=(const OwnWindow&) = delete;
  virtual ~OwnWindow() = default;

  virtual WindowRect Bounds() const = 0;
  virtual ScreenSize Screen() const = 0;
  virtual void MoveTo(int left, int top) = 0;
  // Keeps the window above all others that are not topmost themselves.
  virtual void SetTopmost() = 0;
};

// A window with no display behind it (text console, replay, tests): it
// remembers where it was put and whether it was made topmost.
class HeadlessWindow : public OwnWindow {
 public:
  HeadlessWindow(WindowRect bounds, ScreenSize screen) : bounds_(bounds), screen_(screen) {}

  WindowRect Bounds() const override { return bounds_; }
  ScreenSize Screen() const override { return screen_; }
  void MoveTo(int left, int top) override {
    bounds_.left = left;
    bounds_.top = top;
  }
  void SetTopmost() override { topmost_ = true; }
  bool topmost() const { return topmost_; }

 private:
  WindowRect bounds_;
  ScreenSize screen_;
  bool topmost_ = false;
};

}  // namespace zorvik
