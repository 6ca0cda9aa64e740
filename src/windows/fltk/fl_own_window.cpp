#include "windows/fltk/fl_own_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>

#include "windows/fltk/window_state.h"

namespace zorvik {

namespace {

// The close box, Escape included, does nothing by default: a window is
// hidden only when its model says so.
void IgnoreClose(Fl_Widget*, void*) {}

}  // namespace

FlOwnWindow::FlOwnWindow(const DesktopScreen& screen, int width, int height,
                         const std::string& caption, Frame frame, bool in_taskbar)
    : screen_(screen),
      window_(std::make_unique<Fl_Double_Window>(width, height)),
      frame_(frame),
      in_taskbar_(in_taskbar) {
  window_->end();
  window_->copy_label(caption.c_str());
  window_->callback(IgnoreClose);
  if (frame == Frame::kBorderless) window_->border(0);
  if (frame != Frame::kResizable) window_->size_range(width, height, width, height);
}

FlOwnWindow::~FlOwnWindow() = default;

WindowRect FlOwnWindow::Bounds() const {
  return WindowRect{window_->x(), window_->y(), window_->w(), window_->h()};
}

void FlOwnWindow::MoveTo(int left, int top) {
  window_->position(left, top);
}

void FlOwnWindow::SetTopmost() {
  topmost_ = true;
  if (shown_ && screen_.display) RequestStates();
}

void FlOwnWindow::SetShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  if (!screen_.display) return;
  if (!shown) {
    window_->hide();
    return;
  }
  window_->show();
  RequestStates();
  if (frame_ == Frame::kDialog) RequestDialogFrame(*window_);
}

void FlOwnWindow::RequestStates() {
  RequestWindowStates(*window_, WindowStates{topmost_, !in_taskbar_});
}

}  // namespace zorvik
