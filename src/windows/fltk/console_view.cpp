#include "windows/fltk/console_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>

#include "windows/line_breaks.h"
#include "windows/text_fit.h"

namespace zorvik {

namespace {

std::size_t IndexOf(ConsoleButton which) {
  for (std::size_t i = 0; i < kConsoleButtons.size(); ++i) {
    if (kConsoleButtons[i] == which) return i;
  }
  return 0;
}

// Widths in pixels in the current font (fl_font must have been called),
// rounded up so that a text cut to them never spills.
int PixelWidth(std::string_view text) {
  return static_cast<int>(std::ceil(fl_width(text.data(), static_cast<int>(text.size()))));
}

}  // namespace

// A captioned frame: an etched rectangle with its caption drawn over the top
// edge. The caption is drawn as plain text (no symbols), whatever a chat
// name put into it, and cut to the frame with an ellipsis.
class ConsoleView::Frame : public Fl_Group {
 public:
  Frame(const PixelRect& r, std::string caption, int font_size)
      : Fl_Group(r.x, r.y, r.w, r.h), caption_(std::move(caption)), font_size_(font_size) {}

  const std::string& caption() const { return caption_; }
  void set_caption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    redraw();
  }
  // The caption as drawn; sets the font, so only with a display.
  std::string shown_caption() const {
    fl_font(FL_HELVETICA, font_size_);
    return CutToWidth(caption_, caption_width(), PixelWidth);
  }

 protected:
  void draw() override {
    fl_color(color());
    fl_rectf(x(), y(), w(), h());
    const int edge = y() + font_size_ / 2;
    fl_draw_box(FL_ENGRAVED_FRAME, x(), edge, w(), h() - (edge - y()), FL_BLACK);
    const std::string shown = shown_caption();
    const int text_width = PixelWidth(shown);
    const int text_left = caption_left();
    const int clip_width = caption_width();
    fl_push_clip(text_left - 2, y(), clip_width + 4, font_size_ + 2);
    fl_color(color());
    fl_rectf(text_left - 2, y(), std::min(text_width + 4, clip_width + 4), font_size_ + 2);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
    fl_draw(shown.c_str(), text_left, y() + font_size_ - fl_descent() + 1);
    fl_pop_clip();
    draw_children();
  }

 private:
  int caption_left() const { return x() + font_size_ / 2 + 2; }
  // The pixels from the caption's left to a little before the frame's right edge.
  int caption_width() const { return std::max(0, w() - (caption_left() - x()) - 4); }

  std::string caption_;
  int font_size_;
};

// A seat's label (creature, hit points): its text drawn as plain text and
// cut to the box with an ellipsis, where a toolkit label would be clipped.
// label() keeps the whole text as a label would show it.
class ConsoleView::Label : public Fl_Box {
 public:
  Label(const PixelRect& r, int font_size) : Fl_Box(r.x, r.y, r.w, r.h) {
    labelsize(font_size);
    align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  }

  void set_text(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    copy_label(LabelText(text).c_str());
    redraw();
  }
  // The text as drawn; sets the font, so only with a display.
  std::string shown_text() const {
    fl_font(labelfont(), labelsize());
    return CutToWidth(text_, inner_width(), PixelWidth);
  }

 protected:
  void draw() override {
    draw_box();
    const std::string shown = shown_text();
    fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
    fl_draw(shown.c_str(), x() + inset(), y(), inner_width(), h(), align(), nullptr, 0);
  }

 private:
  // As the toolkit insets a label aligned to a side.
  int inset() const { return w() > 11 ? 3 : 0; }
  int inner_width() const { return std::max(0, w() - 2 * inset()); }

  std::string text_;
};

ConsoleView::ConsoleView(HostConsole& console, FlOwnWindow& window, EventLoop& loop)
    : console_(console), window_(window), loop_(loop) {
  const TwipScale& scale = window.desktop().scale;
  const int font = scale.FontPixels(kConsoleFontPoints);
  Fl_Double_Window& w = window.window();
  w.begin();
  for (int seat = 0; seat < 2; ++seat) {
    const std::string caption(seat == 0 ? kSeat1Free : kSeat2Free);
    seats_[seat] = new Frame(
        ConsoleFrameRect(scale, seat == 0 ? ConsoleFrame::kPlayer1 : ConsoleFrame::kPlayer2),
        caption, font);
    creatures_[seat] = new Label(CreatureLabelRect(scale, seat + 1), font);
    hps_[seat] = new Label(HpLabelRect(scale, seat + 1), font);
    seats_[seat]->end();
  }
  for (bool game : {false, true}) {
    const ConsoleFrame which = game ? ConsoleFrame::kGameControls : ConsoleFrame::kControls;
    Frame* frame =
        new Frame(ConsoleFrameRect(scale, which), game ? "game controls" : "controls", font);
    (game ? game_controls_ : controls_) = frame;
    // Frame by frame, left to right within each.
    for (ConsoleButton b : {ConsoleButton::kGetPlayers, ConsoleButton::kExit, ConsoleButton::kInfo,
                            ConsoleButton::kSetup, ConsoleButton::kStart, ConsoleButton::kStop}) {
      if (FrameOf(b) != which) continue;
      const PixelRect r = ConsoleButtonRect(scale, b);
      Fl_Button* widget = new Fl_Button(r.x, r.y, r.w, r.h);
      widget->copy_label(std::string(ButtonCaption(b)).c_str());
      widget->labelsize(font);
      const std::size_t i = IndexOf(b);
      slots_[i] = Slot{this, b, widget};
      widget->callback(OnButton, &slots_[i]);
    }
    frame->end();
  }
  w.end();
  // Keyboard focus goes frame by frame, left to right within each: "info"
  // comes before "setup" rather than last, the one step that differs from
  // the console's table.
  w.callback(OnClose, this);
  console_.AddChangeObserver([this] { Refresh(); });
  Refresh();
}

Fl_Button& ConsoleView::button(ConsoleButton which) {
  return *slots_[IndexOf(which)].widget;
}

const std::string& ConsoleView::seat_caption(int seat) const {
  return seats_[seat == 2 ? 1 : 0]->caption();
}

std::string ConsoleView::shown_seat_caption(int seat) const {
  return seats_[seat == 2 ? 1 : 0]->shown_caption();
}

std::string ConsoleView::shown_creature(int seat) const {
  return creatures_[seat == 2 ? 1 : 0]->shown_text();
}

Fl_Box& ConsoleView::creature_label(int seat) {
  return *creatures_[seat == 2 ? 1 : 0];
}
Fl_Box& ConsoleView::hp_label(int seat) {
  return *hps_[seat == 2 ? 1 : 0];
}
Fl_Group& ConsoleView::game_controls() {
  return *game_controls_;
}

void ConsoleView::OnButton(Fl_Widget*, void* data) {
  Slot* slot = static_cast<Slot*>(data);
  HostConsole& console = slot->view->console_;
  const ConsoleButton which = slot->which;
  slot->view->loop_.Post([&console, which] { console.Press(which); });
}

void ConsoleView::OnClose(Fl_Widget*, void* data) {
  // The close box says goodbye as "exit" does; the program ends with it.
  // Escape, which the toolkit also sends here, must not end a match.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  ConsoleView* view = static_cast<ConsoleView*>(data);
  HostConsole& console = view->console_;
  view->loop_.Post([&console] { console.Press(ConsoleButton::kExit); });
}

void ConsoleView::Refresh() {
  const MatchTable& table = console_.table();
  seats_[0]->set_caption(table.seat1Caption);
  seats_[1]->set_caption(table.seat2Caption);
  const std::string* values[2][2] = {{&table.player1Creature, &table.player1Hp},
                                     {&table.player2Creature, &table.player2Hp}};
  for (int seat = 0; seat < 2; ++seat) {
    creatures_[seat]->set_text(*values[seat][0]);
    hps_[seat]->set_text(*values[seat][1]);
  }
  const ConsoleSwitches& switches = console_.switches();
  if (switches.gamecontrol) {
    game_controls_->activate();
  } else {
    game_controls_->deactivate();
  }
  for (const Slot& slot : slots_) {
    // The frame's state is the group's; each button shows its own.
    const bool enabled = slot.which == ConsoleButton::kGetPlayers ? switches.getplayers
                         : slot.which == ConsoleButton::kSetup    ? switches.setit
                         : slot.which == ConsoleButton::kStart    ? switches.startgame
                         : slot.which == ConsoleButton::kStop     ? switches.stopgame
                                                                  : true;
    if (enabled) {
      slot.widget->activate();
    } else {
      slot.widget->deactivate();
    }
  }
  if (!sync_posted_ && window_.shown() != (console_.shown() && !console_.ended())) {
    sync_posted_ = true;
    loop_.Post([this] { SyncShown(); });
  }
}

void ConsoleView::SyncShown() {
  sync_posted_ = false;
  window_.SetShown(console_.shown() && !console_.ended());
}

}  // namespace zorvik
