// The console and splash views without a display: the host runs on virtual
// time, clicks are the buttons' own callbacks, and the widgets must show
// the model at every step. Only what is measured in the toolkit's font
// needs a display.
#include "windows/fltk/console_view.h"

// Before the X11 headers (through fl_draw.H), whose macros (None, Bool) break it.
#include <gtest/gtest.h>

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/fl_draw.H>

#include <set>
#include <sstream>

#include "app/host_program.h"
#include "bridge/loop/virtual_loop.h"
#include "console/console_printer.h"
#include "windows/fltk/splash_view.h"
#include "windows/fltk/window_state.h"
#include "windows/window_layout.h"

namespace zorvik {
namespace {

std::string Label(Fl_Widget& widget) {
  return widget.label() ? widget.label() : "";
}

class ConsoleViewTest : public ::testing::Test {
 protected:
  ConsoleViewTest()
      : console_window_(screen_, screen_.scale.Pixels(kConsoleWidthTwips),
                        screen_.scale.Pixels(kConsoleHeightTwips), std::string(kConsoleCaption),
                        FlOwnWindow::Frame::kDialog, true),
        splash_window_(screen_, 270, 111, "zorvik", FlOwnWindow::Frame::kBorderless, false),
        program_(loop_, boxes_, {}, ProgramWindows{&console_window_, &splash_window_, nullptr}),
        view_(program_.console(), console_window_, loop_),
        splash_view_(program_.splash(), splash_window_, loop_) {}

  void Click(Fl_Widget& widget) {
    widget.do_callback();
    loop_.Wait(10 * kMicrosPerSecond);
  }
  void Say(const std::string& name, const std::string& text) {
    program_.client().Say(name, text);
    loop_.Wait(10 * kMicrosPerSecond);
  }
  std::set<std::string> Active() {
    std::set<std::string> active;
    for (ConsoleButton b : kConsoleButtons) {
      if (view_.button(b).active_r()) active.insert(std::string(ButtonCaption(b)));
    }
    return active;
  }

  DesktopScreen screen_;  // no display: windows are never mapped
  VirtualLoop loop_;
  std::ostringstream shown_;
  PrintedBoxes boxes_{shown_};
  FlOwnWindow console_window_, splash_window_;
  HostProgram program_;
  ConsoleView view_;
  SplashView splash_view_;
};

// The window and its widgets stand where the layout table puts them at the
// screen's resolution (the table's pixels are checked on their own), with
// the captions as given.
TEST_F(ConsoleViewTest, LayoutAndCaptions) {
  Fl_Double_Window& w = console_window_.window();
  EXPECT_EQ((PixelRect{0, 0, w.w(), w.h()}), ConsoleClient(screen_.scale));
  EXPECT_STREQ(w.label(), "z\u00f8rv\u00efk by va\u00f1d\u00f8r");
  for (ConsoleButton which : kConsoleButtons) {
    Fl_Button& b = view_.button(which);
    EXPECT_EQ(Label(b), ButtonCaption(which));
    EXPECT_EQ((PixelRect{b.x(), b.y(), b.w(), b.h()}), ConsoleButtonRect(screen_.scale, which))
        << ButtonCaption(which);
  }
  Fl_Box& lvl12 = view_.hp_label(2);
  EXPECT_EQ((PixelRect{lvl12.x(), lvl12.y(), lvl12.w(), lvl12.h()}), HpLabelRect(screen_.scale, 2));
  EXPECT_EQ(view_.seat_caption(1), "player1:[none]");
  EXPECT_EQ(view_.seat_caption(2), "player2:[none]");
}

// Given the splash shown after its load, a click on its byline hides it and
// opens the console, on top at the top of the screen; then a match runs
// from clicks and room lines, and at every step the frames, labels and
// enabled buttons show the model.
TEST_F(ConsoleViewTest, FollowsAMatch) {
  program_.Start();
  loop_.Wait(3 * kMicrosPerSecond);
  ASSERT_TRUE(splash_window_.shown());
  EXPECT_TRUE(splash_window_.topmost());
  EXPECT_FALSE(console_window_.shown());
  Click(splash_view_.byline());
  EXPECT_FALSE(splash_window_.shown());
  ASSERT_TRUE(console_window_.shown());
  EXPECT_TRUE(console_window_.topmost());
  EXPECT_EQ(console_window_.Bounds().top, 0);
  EXPECT_EQ(console_window_.Bounds().left, (1920 - 361) / 2);

  using Set = std::set<std::string>;
  struct Step {
    std::function<void()> act;
    std::string seat1, creature1, hp1, seat2, creature2;
    Set active;
    bool game_controls;
  };
  const Set always = {"exit", "info"};
  const auto with = [&](Set more) {
    more.insert(always.begin(), always.end());
    return more;
  };
  const Step steps[] = {
      {[] {}, "player1:[none]", "", "", "player2:[none]", "", with({"get players"}), false},
      {[&] { Click(view_.button(ConsoleButton::kGetPlayers)); }, "player1:[none]", "", "",
       "player2:[none]", "", with({"get players"}), false},
      {[&] { Say("AliceSmith", "-join"); }, "player1:[alicesmith]", "", "", "player2:[none]", "",
       with({"get players"}), false},
      // A chat name that a label would draw as a symbol shows as typed.
      {[&] { Say("@->", "-join"); }, "player1:[alicesmith]", "", "", "player2:[@->]", "",
       with({"setup", "stop"}), true},
      {[&] { Click(view_.button(ConsoleButton::kSetup)); }, "player1:[alicesmith]", "", "",
       "player2:[@->]", "", with({"setup", "stop"}), true},
      {[&] {
         Say("AliceSmith", "/pikachu");
         Say("@->", "/bulbasaur");
       },
       "player1:[alicesmith]", "pikachu", "500", "player2:[@->]", "bulbasaur",
       with({"setup", "start", "stop"}), true},
      {[&] { Click(view_.button(ConsoleButton::kStop)); }, "player1:[none]", "", "",
       "player2:[none]", "", with({"get players"}), true},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    steps[i].act();
    EXPECT_EQ(view_.seat_caption(1), steps[i].seat1);
    EXPECT_EQ(Label(view_.creature_label(1)), steps[i].creature1);
    EXPECT_EQ(Label(view_.hp_label(1)), steps[i].hp1);
    EXPECT_EQ(view_.seat_caption(2), steps[i].seat2);
    EXPECT_EQ(Label(view_.creature_label(2)), steps[i].creature2);
    EXPECT_EQ(Active(), steps[i].active);
    EXPECT_EQ(view_.game_controls().active(), steps[i].game_controls);
  }
}

// Given screen names of every length, each seat's caption is drawn whole
// when it fits its frame, else cut with an ellipsis before its closing
// bracket, never wider than the frame; the creatures' names fit theirs. The
// widths are the toolkit font's, so this needs a display (scripts/with-xvfb).
TEST_F(ConsoleViewTest, LongNamesAreCutToTheirFrames) {
  std::string no_display;
  if (!OpenDesktopDisplay(no_display)) GTEST_SKIP() << no_display;
  program_.Start();
  loop_.Wait(3 * kMicrosPerSecond);
  Click(splash_view_.byline());
  const int frame_width = ConsoleFrameRect(screen_.scale, ConsoleFrame::kPlayer1).w;
  const struct {
    std::string name;
    bool whole;
  } cases[] = {
      {"bob", true}, {"Maximilian_Alexander_Longname_the_Third", false},
      {"zørvïk_" + std::string(60, 'w'), false}, {"@->" + std::string(60, '@'), false},
      {std::string(200, 'm') + "]", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Click(view_.button(ConsoleButton::kGetPlayers));
    Say(c.name, "-join");
    Say("dora", "-join");
    Click(view_.button(ConsoleButton::kSetup));
    Say(c.name, "/pikachu");
    Say("dora", "/bulbasaur");
    const std::string caption = view_.seat_caption(1);
    const std::string shown = view_.shown_seat_caption(1);
    ASSERT_TRUE(caption.starts_with("player1:[") && caption.size() > 10) << caption;
    if (c.whole) {
      EXPECT_EQ(shown, caption);
    } else {
      EXPECT_TRUE(shown.starts_with("player1:[")) << shown;
      EXPECT_TRUE(shown.ends_with("\u2026]")) << shown;
      // What stands before the ellipsis is the caption's own beginning.
      const std::string head = shown.substr(0, shown.size() - std::string("\u2026]").size());
      EXPECT_TRUE(caption.starts_with(head)) << shown;
      EXPECT_GT(head.size(), std::string("player1:[").size()) << shown;
    }
    fl_font(FL_HELVETICA, screen_.scale.FontPixels(kConsoleFontPoints));
    EXPECT_LT(fl_width(shown.c_str()), frame_width) << shown;
    EXPECT_EQ(view_.shown_seat_caption(2), "player2:[dora]");
    EXPECT_EQ(view_.shown_creature(1), "pikachu");
    EXPECT_EQ(view_.shown_creature(2), "bulbasaur");
    Click(view_.button(ConsoleButton::kStop));
  }
}

// A click on a button the model refuses (the match buttons before two
// players have joined) changes nothing; the close box says goodbye like
// "exit", and the program ends.
TEST_F(ConsoleViewTest, RefusedClicksAndTheCloseBox) {
  program_.Start();
  loop_.Wait(3 * kMicrosPerSecond);
  Click(splash_view_.picture());
  const std::size_t lines = program_.client().RoomHistory().size();
  Click(view_.button(ConsoleButton::kSetup));
  Click(view_.button(ConsoleButton::kStart));
  EXPECT_EQ(program_.client().RoomHistory().size(), lines);
  EXPECT_FALSE(program_.console().Listening(2));

  console_window_.window().do_callback();
  loop_.Wait(10 * kMicrosPerSecond);
  EXPECT_TRUE(program_.console().ended());
  EXPECT_TRUE(loop_.Quitting());
  EXPECT_EQ(program_.client().RoomHistory().back().text, std::string(kBlankLine));
}

}  // namespace
}  // namespace zorvik
