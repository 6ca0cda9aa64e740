#include "windows/fltk/splash_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>

namespace zorvik {

namespace {

constexpr int kPictureBorder = 2;  // the sunken box's edge, in pixels

}  // namespace

// A box that takes a mouse press as a click.
class SplashView::ClickBox : public Fl_Box {
 public:
  using Fl_Box::Fl_Box;
  int handle(int event) override {
    if (event == FL_PUSH) {
      do_callback();
      return 1;
    }
    return Fl_Box::handle(event);
  }
};

SplashView::SplashView(Splash& splash, FlOwnWindow& window, EventLoop& loop)
    : splash_(splash), window_(window), loop_(loop) {
  const TwipScale& scale = window.desktop().scale;
  BmpResult decoded = DecodeBmp(TitlePictureBmp());
  Fl_Double_Window& w = window.window();
  w.begin();
  const PixelRect p = SplashPictureRect(scale);
  picture_ = new ClickBox(FL_DOWN_BOX, p.x, p.y, p.w, p.h, nullptr);
  picture_->color(FL_BLACK);
  if (decoded.ok()) {
    pixels_ = std::move(decoded.image);
    image_ = std::make_unique<Fl_RGB_Image>(pixels_.rgb.data(), pixels_.width, pixels_.height, 3);
    const int inner_w = p.w - 2 * kPictureBorder;
    const int inner_h = p.h - 2 * kPictureBorder;
    if (inner_w > 0 && inner_h > 0 && (inner_w != pixels_.width || inner_h != pixels_.height)) {
      scaled_.reset(image_->copy(inner_w, inner_h));
      picture_->image(scaled_.get());
    } else {
      picture_->image(image_.get());
    }
  }
  picture_->callback(OnClick, this);
  const PixelRect b = SplashBylineRect(scale);
  byline_ = new ClickBox(FL_NO_BOX, b.x, b.y, b.w, b.h, kSplashBylineText.data());
  byline_->labelfont(FL_HELVETICA);
  byline_->labelsize(scale.FontPixels(kSplashBylinePoints));
  byline_->labelcolor(fl_rgb_color(236, 232, 255));
  byline_->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE);
  byline_->callback(OnClick, this);
  w.end();
  splash_.AddVisibilityObserver([this](bool) {
    // Mapping a window is left to a task: observers must not dispatch.
    loop_.Post([this] { window_.SetShown(splash_.shown()); });
  });
}

SplashView::~SplashView() {
  // The boxes belong to the window, which outlives this view: they must not
  // keep pointing at the images.
  picture_->image(nullptr);
}

void SplashView::OnClick(Fl_Widget*, void* data) {
  SplashView* view = static_cast<SplashView*>(data);
  Splash& splash = view->splash_;
  view->loop_.Post([&splash] { splash.Click(); });
}

}  // namespace zorvik
