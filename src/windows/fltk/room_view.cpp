#include "windows/fltk/room_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>

#include "windows/room_layout.h"

namespace zorvik {

namespace {

constexpr double kFontPoints = 9;

}  // namespace

RoomView::RoomView(EmbeddedClient& client, FlOwnWindow& window, EventLoop& loop)
    : client_(client), window_(window), loop_(loop), buffer_(std::make_unique<Fl_Text_Buffer>()) {
  const TwipScale& scale = window.desktop().scale;
  const int font = scale.FontPixels(kFontPoints);
  Fl_Double_Window& w = window.window();
  const RoomLayout layout = LayOutRoom(scale, w.w(), w.h());
  const PixelRect& lines = layout.lines;
  const PixelRect& name_at = layout.name;
  const PixelRect& text_at = layout.text;
  const PixelRect& say_at = layout.say;
  w.begin();
  display_ = new Fl_Text_Display(lines.x, lines.y, lines.w, lines.h);
  display_->textfont(FL_HELVETICA);
  display_->textsize(font);
  // The row resizes with the window, its text field taking the difference.
  Fl_Group* bottom =
      new Fl_Group(name_at.x, name_at.y, say_at.x + say_at.w - name_at.x, name_at.h);
  name_ = new Fl_Input(name_at.x, name_at.y, name_at.w, name_at.h);
  name_->value("alice");
  name_->textsize(font);
  name_->tooltip("the screen name to speak as");
  text_ = new Fl_Input(text_at.x, text_at.y, text_at.w, text_at.h);
  text_->textsize(font);
  text_->when(FL_WHEN_ENTER_KEY_ALWAYS);
  text_->callback(OnSay, this);
  text_->tooltip("what to say, e.g. -join, /pikachu, /thundershock, +moves");
  say_ = new Fl_Return_Button(say_at.x, say_at.y, say_at.w, say_at.h, "say");
  say_->labelsize(font);
  say_->callback(OnSay, this);
  bottom->resizable(text_);
  bottom->end();
  w.end();
  w.resizable(display_);
  subscription_ = client_.Subscribe(
      [this](const std::string& name, const std::string& text) { Append(name, text); });
  // Lines said before the window was made.
  for (const RoomLine& line : client_.RoomHistory()) Append(line.screen_name, line.text);
}

RoomView::~RoomView() {
  client_.Unsubscribe(subscription_);
  if (attached_) {
    window_.window().remove(display_);
    delete display_;
  }
}

void RoomView::Show() {
  if (window_.desktop().display && !attached_) {
    // Showing a buffer measures fonts, which takes a display.
    display_->buffer(buffer_.get());
    display_->wrap_mode(Fl_Text_Display::WRAP_AT_BOUNDS, 0);
    attached_ = true;
  }
  window_.SetShown(true);
  if (attached_) {
    display_->insert_position(buffer_->length());
    display_->show_insert_position();
  }
}

void RoomView::OnSay(Fl_Widget*, void* data) {
  RoomView* view = static_cast<RoomView*>(data);
  std::string name = view->name_->value();
  std::string text = view->text_->value();
  // Nobody speaks without a name, and an empty line says nothing.
  if (name.empty() || text.empty()) return;
  view->text_->value("");
  EmbeddedClient& client = view->client_;
  view->loop_.Post(
      [&client, name = std::move(name), text = std::move(text)] { client.Say(name, text); });
}

void RoomView::Append(const std::string& screen_name, const std::string& text) {
  // Called inside the client's Say: no dispatching here, only the buffer.
  buffer_->append((RoomLineText(screen_name, text) + "\n").c_str());
  if (++line_count_ > kKeptLines) {
    const int drop = kKeptLines / 5;
    buffer_->remove(0, buffer_->skip_lines(0, drop));
    line_count_ -= drop;
  }
  if (attached_) {
    display_->insert_position(buffer_->length());
    display_->show_insert_position();
  }
}

}  // namespace zorvik
