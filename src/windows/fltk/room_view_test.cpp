#include "windows/fltk/room_view.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Text_Buffer.H>

#include <cstdlib>

#include <gtest/gtest.h>

#include "bridge/loop/virtual_loop.h"

namespace zorvik {
namespace {

// Room lines are shown whole and harmless: controls escaped, long lines
// cut at a character boundary.
TEST(RoomLineTextTest, ShowsAnyLineSafely) {
  struct Case {
    std::string name, text, shown;
  };
  const std::string long_text = std::string(kLongestShownLine - 8, 'a') + "\u00f8\u00f8\u00f8";
  const Case cases[] = {
      {"AliceSmith", "-join", "AliceSmith: -join"}, {"bob", "", "bob: "},
      {"e\x1b[2J", "bell\a tab\t nul" + std::string(1, '\0') + " del\x7f",
       "e\\x1b[2J: bell\\x07 tab\\x09 nul\\x00 del\\x7f"},
      {"host", " \u00a0", "host:  \u00a0"},
      {"x", long_text, "x: " + std::string(kLongestShownLine - 8, 'a') + "\u00f8\u00f8\u2026"},
  };
  for (const Case& c : cases) EXPECT_EQ(RoomLineText(c.name, c.text), c.shown);
  // Invalid UTF-8 is passed on for the toolkit to show as it can.
  EXPECT_EQ(RoomLineText("n", "\xff\xfe"), "n: \xff\xfe");
}

class RoomViewTest : public ::testing::Test {
 protected:
  RoomViewTest()
      : window_(screen_, 560, 360, "room", FlOwnWindow::Frame::kResizable, true),
        view_(client_, window_, loop_) {}

  std::string Shown() {
    char* text = view_.lines().text();
    std::string copy = text;
    std::free(text);
    return copy;
  }

  DesktopScreen screen_;
  VirtualLoop loop_;
  EmbeddedClient client_;
  FlOwnWindow window_;
  RoomView view_;
};

// Lines appear as they are said; "say" speaks the text field as the name
// field's name and empties the text field; nothing is said without a name
// or without text.
TEST_F(RoomViewTest, ShowsAndSpeaks) {
  client_.Say("bob", "hi");
  EXPECT_EQ(Shown(), "bob: hi\n");
  view_.name_field().value("AliceSmith");
  view_.text_field().value("-join");
  view_.say_button().do_callback();
  EXPECT_STREQ(view_.text_field().value(), "");
  loop_.Wait(kMicrosPerSecond);
  EXPECT_EQ(Shown(), "bob: hi\nAliceSmith: -join\n");
  EXPECT_EQ(client_.RoomHistory().back(), (RoomLine{"AliceSmith", "-join"}));

  view_.text_field().value("");
  view_.say_button().do_callback();
  view_.name_field().value("");
  view_.text_field().value("hello");
  view_.text_field().do_callback();  // Enter in the text field
  loop_.Wait(kMicrosPerSecond);
  EXPECT_EQ(client_.RoomHistory().size(), 2u);
  EXPECT_STREQ(view_.text_field().value(), "hello");  // kept for a name to be typed
}

// A chatty room does not grow the window without end: the oldest lines go
// in batches, the newest stay.
TEST_F(RoomViewTest, KeepsTheNewestLines) {
  for (int i = 0; i < RoomView::kKeptLines + 10; ++i) client_.Say("p", std::to_string(i));
  const std::string shown = Shown();
  const auto lines = std::count(shown.begin(), shown.end(), '\n');
  EXPECT_LE(lines, RoomView::kKeptLines);
  EXPECT_GE(lines, RoomView::kKeptLines * 4 / 5);
  EXPECT_TRUE(shown.ends_with("p: " + std::to_string(RoomView::kKeptLines + 9) + "\n"));
  EXPECT_TRUE(shown.starts_with("p: "));
}

}  // namespace
}  // namespace zorvik
