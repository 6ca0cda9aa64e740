// The chat room of the embedded client, on the desktop: the room's lines as
// they scroll, and a line to speak as any screen name (a name field, a text
// field and "say"), so that the operator and friends at the same machine
// play a whole match on one desktop. It shows what the client's room shows
// and speaks through EmbeddedClient::Say; it keeps no game state.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "bridge/kit/embedded_client.h"
#include "bridge/loop/event_loop.h"
#include "windows/fltk/fl_own_window.h"
#include "windows/room_line.h"

class Fl_Widget;
class Fl_Button;
class Fl_Input;
class Fl_Text_Buffer;
class Fl_Text_Display;

namespace zorvik {

class RoomView {
 public:
  // The window keeps the newest lines; older ones are dropped in batches.
  static constexpr int kKeptLines = 5000;

  // All three must outlive the view. Shows every line said from now on.
  RoomView(EmbeddedClient& client, FlOwnWindow& window, EventLoop& loop);
  ~RoomView();
  RoomView(const RoomView&) = delete;
  RoomView& operator=(const RoomView&) = delete;

  // Maps the window (only remembered without a display).
  void Show();

  Fl_Text_Buffer& lines() { return *buffer_; }
  Fl_Input& name_field() { return *name_; }
  Fl_Input& text_field() { return *text_; }
  Fl_Button& say_button() { return *say_; }

 private:
  static void OnSay(Fl_Widget* widget, void* data);
  void Append(const std::string& screen_name, const std::string& text);

  EmbeddedClient& client_;
  FlOwnWindow& window_;
  EventLoop& loop_;
  std::unique_ptr<Fl_Text_Buffer> buffer_;
  Fl_Text_Display* display_ = nullptr;  // owned by the window
  Fl_Input* name_ = nullptr;
  Fl_Input* text_ = nullptr;
  Fl_Button* say_ = nullptr;
  RoomFeed::SubscriptionId subscription_ = 0;
  int line_count_ = 0;
  bool attached_ = false;
};

}  // namespace zorvik
