#include "windows/room_layout.h"

#include <gtest/gtest.h>

namespace zorvik {
namespace {

// The row to speak keeps its height and the lines take what is left; in
// windows too small for everything nothing gets a negative size and the
// text gives up its width before the name and "say" do.
TEST(RoomLayoutTest, RowBelowLinesAtAnySize) {
  struct Case {
    double dpi;
    int width, height;
    RoomLayout want;
  };
  const Case cases[] = {
      // 8400 x 5400 twips at 96 dpi: pad 6, row 23, name 120, say 67.
      {96, 560, 360, {{6, 6, 548, 319}, {6, 331, 120, 23}, {132, 331, 343, 23}, {487, 331, 67, 23}}},
      // The same window at 144 dpi.
      {144, 840, 540, {{9, 9, 822, 478}, {9, 496, 180, 35}, {198, 496, 515, 35}, {731, 496, 100, 35}}},
      // Only the name and "say" fit: the text has no width.
      {96, 200, 60, {{6, 6, 188, 19}, {6, 31, 115, 23}, {127, 31, 0, 23}, {127, 31, 67, 23}}},
      // Nothing fits at all.
      {96, 0, 0, {{6, 6, 0, 0}, {6, 0, 0, 0}, {12, 0, 0, 0}, {6, 0, 0, 0}}},
      {96, -50, -50, {{6, 6, 0, 0}, {6, 0, 0, 0}, {12, 0, 0, 0}, {6, 0, 0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.dpi);
    const RoomLayout got = LayOutRoom(TwipScale(c.dpi), c.width, c.height);
    EXPECT_EQ(got.lines, c.want.lines);
    EXPECT_EQ(got.name, c.want.name);
    EXPECT_EQ(got.text, c.want.text);
    EXPECT_EQ(got.say, c.want.say);
  }
}

}  // namespace
}  // namespace zorvik
