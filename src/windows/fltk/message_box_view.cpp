#include "windows/fltk/message_box_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "windows/line_breaks.h"

namespace zorvik {

namespace {

constexpr double kFontPoints = 8.25;

void Close(Fl_Widget*, void* data) {
  *static_cast<bool*>(data) = true;
}

}  // namespace

FlMessageBoxes::FlMessageBoxes(FltkLoop& loop, const DesktopScreen& screen)
    : loop_(loop), screen_(screen) {}

void FlMessageBoxes::Show(const std::string& title, const std::string& text) {
  const TwipScale& scale = screen_.scale;
  const int font = scale.FontPixels(kFontPoints);
  const int margin = scale.Pixels(180);
  const std::string lines = LabelText(ToLf(text));
  fl_font(FL_HELVETICA, font);
  int text_w = 0, text_h = 0;
  fl_measure(lines.c_str(), text_w, text_h, 0);
  text_w += font;  // the label's own inset, so the longest line is not clipped
  const int button_w = scale.Pixels(1215), button_h = scale.Pixels(345);
  // A box never outgrows the screen; a longer text is cut at its edge.
  const int w = std::min(std::max(text_w, button_w) + 2 * margin, screen_.size.width);
  const int h = std::min(text_h + button_h + 3 * margin, screen_.size.height);

  bool closed = false;
  Fl_Double_Window window((screen_.size.width - w) / 2, (screen_.size.height - h) / 2, w, h);
  window.copy_label(title.c_str());
  Fl_Box body(margin, margin, w - 2 * margin, h - button_h - 3 * margin);
  body.copy_label(lines.c_str());
  body.labelsize(font);
  body.align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  Fl_Return_Button ok((w - button_w) / 2, h - button_h - margin, button_w, button_h, "OK");
  ok.labelsize(font);
  ok.callback(Close, &closed);
  window.end();
  window.callback(Close, &closed);  // close box and Escape
  window.set_modal();
  window.show();
  ++open_;
  loop_.WaitUntil([&closed] { return closed; });
  --open_;
  window.hide();
}

}  // namespace zorvik
