#include "windows/info_menu.h"

#include <gtest/gtest.h>

#include "bridge/chat_client.h"

namespace zorvik {
namespace {

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

// The boxes separate lines with a lone carriage return: no line feed, ten
// lines in the about box with an empty ninth before the signature.
TEST(InfoMenuTest, BoxTexts) {
  EXPECT_EQ(AboutText().find('\n'), std::string::npos);
  const auto about = SplitAt(AboutText(), '\r');
  ASSERT_EQ(about.size(), 10u);
  EXPECT_EQ(about[4], "note: if i get enough request I'll start on a second version");
  EXPECT_EQ(about[5], "      next version might include multiplayer and PP limits");
  EXPECT_EQ(about[6], "have fun with this program.  try not to annoy people in rooms");
  const std::string room_tail = "  Make your own room and invite friends";
  ASSERT_GT(about[7].size(), room_tail.size());
  EXPECT_EQ(about[7].substr(about[7].size() - room_tail.size()), room_tail);
  EXPECT_EQ(about[8], "");
  EXPECT_EQ(about[9].substr(0, 57), std::string(56, ' ') + "-");
  EXPECT_GT(about[9].size(), 57u);

  EXPECT_EQ(HelpText().find('\n'), std::string::npos);
  const auto help = SplitAt(HelpText(), '\r');
  ASSERT_EQ(help.size(), 7u);
  EXPECT_EQ(help[0], "this game is easy to control, follow step by step");
  EXPECT_EQ(help[6], "note:if someone leaves or they just don't want to play, click on stop");

  EXPECT_EQ(kInfoMenu[2].caption, "-");
  EXPECT_FALSE(kInfoMenu[2].item.has_value());
  EXPECT_EQ(MenuItemFromCaption("-"), std::nullopt);
  EXPECT_EQ(MenuItemFromCaption("mail me"), MenuItem::kMailMe);
}

// Seven lines of the form's first text, each ended by CR LF, with their
// trailing blanks: that is what an untouched bug report sends.
TEST(FeedbackFormTest, InitialText) {
  const auto lines = SplitAt(InitialFeedbackText(), '\n');
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines.back(), "");
  const std::pair<std::string, std::size_t> expected[] = {
      {"yo vandor!", 36},
      {"this game is tight!", 23},
      {"start making a second version now!", 19},
      {"", 42},
      {"", 1},
      {"", 37},
      {"", 32}};
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(lines[i], expected[i].first + std::string(expected[i].second, ' ') + "\r") << i;
  }
}

}  // namespace
}  // namespace zorvik
