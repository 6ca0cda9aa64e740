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

// The about box separates lines with a lone carriage return: no line feed,
// ten lines with an empty ninth before the signature. (The help box's text
// and the form's first text are checked byte for byte by the replay
// scenario of the info menu and the feedback form.)
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

  EXPECT_EQ(kInfoMenu[2].caption, "-");
  EXPECT_FALSE(kInfoMenu[2].item.has_value());
  EXPECT_EQ(MenuItemFromCaption("-"), std::nullopt);
  EXPECT_EQ(MenuItemFromCaption("mail me"), MenuItem::kMailMe);
}

}  // namespace
}  // namespace zorvik
