// The splash window on the desktop: borderless and out of the taskbar, the
// title picture in a sunken box with the byline "by vandor" over it. A
// click on the picture or the byline goes to the Splash model, which hides
// the splash and opens the console.
#pragma once

#include <memory>

#include "bridge/loop/event_loop.h"
#include "windows/bmp_image.h"
#include "windows/fltk/fl_own_window.h"
#include "windows/splash.h"
#include "windows/window_layout.h"

class Fl_Widget;
class Fl_Box;
class Fl_RGB_Image;
class Fl_Image;

namespace zorvik {

class SplashView {
 public:
  // All three must outlive the view.
  SplashView(Splash& splash, FlOwnWindow& window, EventLoop& loop);
  ~SplashView();
  SplashView(const SplashView&) = delete;
  SplashView& operator=(const SplashView&) = delete;

  Fl_Box& picture() { return *picture_; }
  Fl_Box& byline() { return *byline_; }

 private:
  class ClickBox;
  static void OnClick(Fl_Widget* widget, void* data);

  Splash& splash_;
  FlOwnWindow& window_;
  EventLoop& loop_;
  RgbImage pixels_;  // the image below points into these
  std::unique_ptr<Fl_RGB_Image> image_;
  std::unique_ptr<Fl_Image> scaled_;  // when the screen is not at 96 dpi
  Fl_Box* picture_ = nullptr;
  Fl_Box* byline_ = nullptr;
};

}  // namespace zorvik
