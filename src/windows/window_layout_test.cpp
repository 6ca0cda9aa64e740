#include "windows/window_layout.h"

#include <gtest/gtest.h>

namespace zorvik {
namespace {

bool Inside(const PixelRect& inner, const PixelRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

// Given the twip tables, the controls land on these pixels at the usual
// resolutions: a frame's offset is added in twips before rounding.
TEST(WindowLayoutTest, ControlsAtCommonResolutions) {
  struct Case {
    double dpi;
    const char* what;
    PixelRect (*place)(const TwipScale&);
    PixelRect want;
  };
  const Case cases[] = {
      {96, "console", ConsoleClient, {0, 0, 361, 89}},
      {96, "get players",
       [](const TwipScale& s) { return ConsoleButtonRect(s, ConsoleButton::kGetPlayers); },
       {8, 64, 73, 17}},
      {96, "stop", [](const TwipScale& s) { return ConsoleButtonRect(s, ConsoleButton::kStop); },
       {304, 64, 49, 17}},
      {120, "stop", [](const TwipScale& s) { return ConsoleButtonRect(s, ConsoleButton::kStop); },
       {380, 80, 61, 21}},
      {144, "info", [](const TwipScale& s) { return ConsoleButtonRect(s, ConsoleButton::kInfo); },
       {192, 96, 62, 26}},
      {96, "lvl12", [](const TwipScale& s) { return HpLabelRect(s, 2); }, {304, 16, 49, 17}},
      {120, "p11", [](const TwipScale& s) { return CreatureLabelRect(s, 1); }, {10, 20, 131, 21}},
      {96, "splash", SplashClient, {0, 0, 270, 111}},
      {96, "picture", SplashPictureRect, {8, 8, 254, 97}},
      {96, "by vandor", SplashBylineRect, {120, 88, 37, 12}},
      {144, "by vandor", SplashBylineRect, {180, 132, 56, 18}},
      {96, "form", FormClient, {0, 0, 192, 89}}, {96, "Text1", FormTextRect, {0, 0, 193, 73}},
      {96, "comments", [](const TwipScale& s) { return FormButtonRect(s, FormButton::kComments); },
       {64, 72, 65, 17}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.place(TwipScale(c.dpi)), c.want) << c.what << " at " << c.dpi << " dpi";
  }
}

// At any resolution, every console control stays inside its frame and every
// frame inside the client area; the byline stays on the picture; the
// form's buttons stand in one row, left to right, under the text box.
TEST(WindowLayoutTest, ControlsStayInTheirFramesAtAnyResolution) {
  for (double dpi : {48.0, 72.0, 96.0, 110.0, 120.0, 144.0, 168.0, 192.0, 288.0, 960.0}) {
    const TwipScale scale(dpi);
    SCOPED_TRACE(dpi);
    const PixelRect console = ConsoleClient(scale);
    for (ConsoleFrame frame : {ConsoleFrame::kPlayer1, ConsoleFrame::kPlayer2,
                               ConsoleFrame::kControls, ConsoleFrame::kGameControls}) {
      EXPECT_TRUE(Inside(ConsoleFrameRect(scale, frame), console));
    }
    for (int seat : {1, 2}) {
      const PixelRect frame = ConsoleFrameRect(
          scale, seat == 1 ? ConsoleFrame::kPlayer1 : ConsoleFrame::kPlayer2);
      EXPECT_TRUE(Inside(CreatureLabelRect(scale, seat), frame));
      EXPECT_TRUE(Inside(HpLabelRect(scale, seat), frame));
    }
    for (ConsoleButton button : kConsoleButtons) {
      EXPECT_TRUE(Inside(ConsoleButtonRect(scale, button), ConsoleFrameRect(scale, FrameOf(button))))
          << ButtonCaption(button);
    }
    EXPECT_TRUE(Inside(SplashBylineRect(scale), SplashPictureRect(scale)));
    EXPECT_TRUE(Inside(SplashPictureRect(scale), SplashClient(scale)));
    const PixelRect bug = FormButtonRect(scale, FormButton::kBugReport);
    const PixelRect comments = FormButtonRect(scale, FormButton::kComments);
    const PixelRect exit = FormButtonRect(scale, FormButton::kExit);
    EXPECT_TRUE(bug.y == comments.y && comments.y == exit.y);
    EXPECT_TRUE(bug.x < comments.x && comments.x < exit.x);
    EXPECT_LE(FormTextRect(scale).y + FormTextRect(scale).h, bug.y + bug.h);
    EXPECT_EQ(bug.y + bug.h, FormClient(scale).h);
  }
}

TEST(WindowLayoutTest, ShortcutMarksAreDoubled) {
  EXPECT_EQ(WithoutShortcuts("player1:[a&b]"), "player1:[a&&b]");
  EXPECT_EQ(WithoutShortcuts("&&"), "&&&&");
  EXPECT_EQ(WithoutShortcuts(""), "");
}

}  // namespace
}  // namespace zorvik
