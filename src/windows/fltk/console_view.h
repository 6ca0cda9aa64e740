// The console on the desktop: the two seat frames (name, creature, hit
// points) and the six buttons in their frames "controls" and "game
// controls", laid out from the console's twip table. It shows the
// HostConsole model and forwards clicks to it; it keeps no game state. The
// hidden controls of the table (lists, copies) are not widgets: the model
// keeps those values.
#pragma once

#include <array>
#include <string>

#include "bridge/loop/event_loop.h"
#include "match/host_console.h"
#include "windows/fltk/fl_own_window.h"
#include "windows/window_layout.h"

class Fl_Widget;
class Fl_Box;
class Fl_Button;
class Fl_Group;

namespace zorvik {

class ConsoleView {
 public:
  // All three must outlive the view. The view fills `window` with its
  // widgets and observes `console` from now on.
  ConsoleView(HostConsole& console, FlOwnWindow& window, EventLoop& loop);
  ConsoleView(const ConsoleView&) = delete;
  ConsoleView& operator=(const ConsoleView&) = delete;

  Fl_Button& button(ConsoleButton which);
  // Caption of frame `player1` (seat 1) or `player2` (seat 2).
  const std::string& seat_caption(int seat) const;
  // The caption and the creature's name as drawn: cut to their frames with
  // an ellipsis, a caption keeping its closing bracket. They measure the
  // text in the toolkit's font, so they need a display.
  std::string shown_seat_caption(int seat) const;
  std::string shown_creature(int seat) const;
  // The labels p11 / lvl11 (seat 1) and p12 / lvl12 (seat 2).
  Fl_Box& creature_label(int seat);
  Fl_Box& hp_label(int seat);
  Fl_Group& game_controls();

 private:
  class Frame;
  class Label;
  struct Slot {
    ConsoleView* view;
    ConsoleButton which;
    Fl_Button* widget;
  };

  // A click: the press runs as a task of the loop, never inside the
  // toolkit's event handling.
  static void OnButton(Fl_Widget* widget, void* data);
  static void OnClose(Fl_Widget* widget, void* data);

  // Copies the model into the widgets; never dispatches. Showing or hiding
  // the window is left to a task (SyncShown).
  void Refresh();
  void SyncShown();

  HostConsole& console_;
  FlOwnWindow& window_;
  EventLoop& loop_;
  std::array<Frame*, 2> seats_{};
  Frame* controls_ = nullptr;
  Frame* game_controls_ = nullptr;
  std::array<Label*, 2> creatures_{};
  std::array<Label*, 2> hps_{};
  std::array<Slot, 6> slots_{};  // in kConsoleButtons order
  bool sync_posted_ = false;
};

}  // namespace zorvik
