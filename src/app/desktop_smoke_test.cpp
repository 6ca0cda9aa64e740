// The desktop on a real display (Xvfb, started by scripts/with-xvfb): the
// program starts, real mouse clicks (xdotool) go through the windows, a
// match is played from the room window, and the console's widgets show it.
// Every wait is bounded; the test fails, never hangs.
#include <spawn.h>
#include <sys/wait.h>

// Before the X11 headers, whose macros (None, Bool) break it.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/desktop.h"
#include "bridge/loop/fltk_loop.h"
#include "windows/fltk/console_view.h"
#include "windows/fltk/feedback_form_view.h"
#include "windows/fltk/fl_own_window.h"
#include "windows/fltk/room_view.h"
#include "windows/fltk/splash_view.h"
#include "windows/fltk/window_state.h"

extern char** environ;

namespace zorvik {
namespace {

constexpr Micros kPatience = 20 * kMicrosPerSecond;

bool Has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

class DesktopSmokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string reason;
    if (!OpenDesktopDisplay(reason)) GTEST_SKIP() << "no display: " << reason;
    desktop_ = std::make_unique<Desktop>(ProgramOptions{});
  }

  void TearDown() override {
    desktop_.reset();
    for (pid_t pid : children_) waitpid(pid, nullptr, 0);
  }

  // Dispatches until `done` or the deadline; false (and a failure) on time-out.
  bool WaitFor(const std::function<bool()>& done, const std::string& what) {
    FltkLoop& loop = desktop_->loop();
    bool late = false;
    const EventLoop::TimerId timer = loop.ScheduleAfter(kPatience, [&late] { late = true; });
    loop.WaitUntil([&] { return late || done(); });
    loop.Cancel(timer);
    EXPECT_TRUE(done()) << "timed out waiting for " << what;
    return done();
  }

  // Runs xdotool with `args` without waiting for it: the loop must go on
  // dispatching while it clicks.
  void Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ), 0);
    children_.push_back(pid);
  }

  // A real click in the middle of `widget`, relative to its window.
  void Click(FlOwnWindow& window, Fl_Widget& widget, std::vector<std::string> then = {}) {
    ASSERT_TRUE(window.window().shown());
    std::vector<std::string> args = {"mousemove",
                                     "--sync", "--window", std::to_string(fl_xid(&window.window())),
                                     std::to_string(widget.x() + widget.w() / 2),
                                     std::to_string(widget.y() + widget.h() / 2), "click",
                                     "1"};
    args.insert(args.end(), then.begin(), then.end());
    Xdotool(std::move(args));
  }

  // `name` says `text` in the room window: typed into its fields, "say" clicked.
  void Say(const std::string& name, const std::string& text) {
    RoomView& room = desktop_->room_view();
    room.name_field().value(name.c_str());
    room.text_field().value(text.c_str());
    const std::size_t before = desktop_->program().client().RoomHistory().size();
    Click(desktop_->room_window(), room.say_button());
    WaitFor([&] { return desktop_->program().client().RoomHistory().size() > before; },
            name + " saying " + text);
  }

  std::unique_ptr<Desktop> desktop_;
  std::vector<pid_t> children_;
};

// Given the program on a display, when the operator clicks the splash and
// the console's buttons while two players join, pick and attack from the
// room window, the console follows the match, the info menu opens the
// feedback form, and "exit" ends the program. (Each step's labels and
// buttons are checked without a display by the console view's test.)
TEST_F(DesktopSmokeTest, PlaysAMatchThroughTheWindows) {
  Desktop& d = *desktop_;
  HostConsole& console = d.program().console();
  ConsoleView& view = d.console_view();
  d.Start();

  ASSERT_TRUE(WaitFor([&] { return d.splash_window().window().shown(); }, "the splash"));
  const auto splash_states = RequestedWindowStates(d.splash_window().window());
  EXPECT_TRUE(Has(splash_states, "_NET_WM_STATE_ABOVE"));
  EXPECT_TRUE(Has(splash_states, "_NET_WM_STATE_SKIP_TASKBAR"));

  Click(d.splash_window(), d.splash_view().byline());
  ASSERT_TRUE(WaitFor([&] { return d.console_window().window().shown(); }, "the console"));
  EXPECT_FALSE(d.splash_window().window().shown());
  EXPECT_TRUE(Has(RequestedWindowStates(d.console_window().window()), "_NET_WM_STATE_ABOVE"));

  Click(d.console_window(), view.button(ConsoleButton::kGetPlayers));
  ASSERT_TRUE(WaitFor([&] { return console.Listening(1); }, "the join listener"));
  Say("AliceSmith", "-join");
  Say("Bob", "-join");
  ASSERT_TRUE(WaitFor([&] { return view.button(ConsoleButton::kSetup).active_r(); }, "setup"));

  Click(d.console_window(), view.button(ConsoleButton::kSetup));
  ASSERT_TRUE(WaitFor([&] { return console.Listening(2); }, "player 1's pick"));
  Say("AliceSmith", "/pikachu");
  ASSERT_TRUE(WaitFor([&] { return console.Listening(3); }, "player 2's pick"));
  Say("Bob", "i pick /bulbasaur");
  ASSERT_TRUE(WaitFor([&] { return view.button(ConsoleButton::kStart).active_r(); }, "start"));

  Click(d.console_window(), view.button(ConsoleButton::kStart));
  ASSERT_TRUE(WaitFor([&] { return console.Listening(4); }, "player 1's turn"));
  Say("AliceSmith", "/thundershock");
  ASSERT_TRUE(WaitFor([&] { return console.Listening(5); }, "player 2's turn"));
  const int hp = std::atoi(view.hp_label(2).label());
  EXPECT_GE(hp, 500 - 80);
  EXPECT_LE(hp, 500 - 2);

  Click(d.console_window(), view.button(ConsoleButton::kStop));
  ASSERT_TRUE(WaitFor([&] { return view.seat_caption(1) == "player1:[none]"; }, "stop"));

  // The menu pops up at the mouse; the keyboard picks its second item.
  Click(d.console_window(), view.button(ConsoleButton::kInfo),
        {"sleep", "1", "key", "Down", "key", "Down", "key", "Return"});
  ASSERT_TRUE(WaitFor([&] { return d.form_window().window().shown(); }, "the feedback form"));
  EXPECT_STREQ(d.form_window().window().label(), "mail me");
  FeedbackFormView& form = d.form_view();
  form.buffer().insert(0, "hi\n");
  EXPECT_EQ(d.program().form().text().substr(0, 16), "hi\r\nyo vandor!  ");
  Click(d.form_window(), form.button(FormButton::kExit));
  ASSERT_TRUE(WaitFor([&] { return !d.form_window().window().shown(); }, "the form to hide"));

  Click(d.console_window(), view.button(ConsoleButton::kExit));
  ASSERT_TRUE(WaitFor([&] { return d.loop().Quitting(); }, "the end"));
  const auto& history = d.program().client().RoomHistory();
  ASSERT_GE(history.size(), 2u);
  EXPECT_EQ(history[history.size() - 2].text, "-=|[gotta catch'em all]|=-");
}

}  // namespace
}  // namespace zorvik
