#include "windows/text_fit.h"

#include <gtest/gtest.h>

namespace zorvik {
namespace {

TEST(TextFitTest, WidthsInColumns) {
  const std::pair<std::string_view, int> cases[] = {
      {"", 0}, {"zorvik", 6},
      {"z\u00f8rv\u00efk", 6},         // two-byte letters take one column
      {"e\u0301", 1},                   // a combining accent takes none
      {"\u5bb6\u65cf", 4},              // wide glyphs take two
      {"\xff\xc3", 2},                  // bytes that are not UTF-8 one each
      {"\xe5\xae", 2},                  // nor is a cut-off character
      {"\xf0\x9f\x98\x80!", 3},         // an emoji is wide
  };
  for (const auto& [text, width] : cases) EXPECT_EQ(TextWidth(text), width) << text;
}

// Names are cut to the columns they have, with an ellipsis, keeping the
// bracket that closes a caption.
TEST(TextFitTest, CutToWidth) {
  struct Case {
    std::string_view text;
    int width;
    std::string_view cut;
  };
  const Case cases[] = {
      {"", 0, ""}, {"", 5, ""},
      {"pikachu", 7, "pikachu"},              // an exact fit stays whole
      {"pikachu", 6, "pikac\u2026"},           // one over: the "…" takes a column too
      {"pikachu", 1, "\u2026"}, {"pikachu", 0, ""}, {"pikachu", -3, ""},
      {"player1:[alice]", 15, "player1:[alice]"}, {"player1:[alice]", 14, "player1:[ali\u2026]"},
      {"player1:[alice]", 2, "\u2026]"},
      {"player1:[alice]", 1, "\u2026"},          // no room for "…]": "…" alone
      {"player1:[alice smith]", 17, "player1:[alice\u2026]"},  // no blank before "…"
      {"z\u00f8rv\u00efk", 6, "z\u00f8rv\u00efk"},
      {"z\u00f8rv\u00efk", 5, "z\u00f8rv\u2026"},  // cut between characters, never in one
      {"e\u0301e\u0301e\u0301", 2, "e\u0301\u2026"},  // an accent stays with its letter
      {"\u5bb6\u65cf\u5bb6", 5, "\u5bb6\u65cf\u2026"},
      {"\u5bb6\u65cf\u5bb6", 4, "\u5bb6\u2026"},  // half a wide glyph is not shown
      {"[\u5bb6\u65cf\u5bb6]", 5, "[\u5bb6\u2026]"}, {"ab\xff\xfe", 3, "ab\u2026"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.width));
    const std::string cut = CutToWidth(c.text, c.width);
    EXPECT_EQ(cut, c.cut);
    EXPECT_LE(TextWidth(cut), std::max(0, c.width));
  }
  // Any measure, such as pixels: here every byte is 3 and the "…" 2.
  const TextMeasure pixels = [](std::string_view text) {
    return text == kEllipsis ? 2 : 3 * static_cast<int>(text.size());
  };
  EXPECT_EQ(CutToWidth("player2:[bob]", 39, pixels), "player2:[bob]");
  EXPECT_EQ(CutToWidth("player2:[bob]", 38, pixels), "player2:[bo\u2026]");
  // A name of any length is cut without measuring all of it.
  int measured = 0;
  const TextMeasure counting = [&measured](std::string_view text) {
    measured += static_cast<int>(text.size());
    return TextWidth(text);
  };
  EXPECT_EQ(CutToWidth(std::string(1'000'000, 'x'), 4, counting), "xxx\u2026");
  EXPECT_LT(measured, 100);
}

// Rows break at blanks; a word wider than a row breaks inside itself.
TEST(TextFitTest, WrapAtSpaces) {
  struct Case {
    std::string_view text;
    int width;
    std::vector<std::string_view> rows;
  };
  const Case cases[] = {
      {"", 10, {""}}, {"   ", 10, {""}},
      {"alice: hello", 12, {"alice: hello"}},      // an exact fit is one row
      {"alice: hello", 11, {"alice:", "hello"}},   // one over breaks at the blank
      {"alice:  hello  there", 13, {"alice:  hello", "there"}},  // blanks inside a row stay
      {"a b c d e", 3, {"a b", "c d", "e"}},
      {"  - an item", 11, {"  - an item"}},        // an indent is kept
      {"  indented", 9, {"indented"}},              // unless the word cannot follow it
      {"abcdefghij", 4, {"abcd", "efgh", "ij"}},    // longer than a row
      {"ab abcdefghij", 5, {"ab ab", "cdefg", "hij"}},  // it starts where it stands
      {"abcd abcdefghij", 5, {"abcd", "abcde", "fghij"}},  // unless no column is left
      {"z\u00f8rv\u00efk z\u00f8rv\u00efk", 8, {"z\u00f8rv\u00efk", "z\u00f8rv\u00efk"}},
      {"z\u00f8rv\u00efkz\u00f8rv\u00efk", 4,
       {"z\u00f8rv", "\u00efkz\u00f8", "rv\u00efk"}},
      {"\u5bb6\u65cf \u5bb6\u65cf", 4, {"\u5bb6\u65cf", "\u5bb6\u65cf"}},
      {"\u5bb6\u65cf\u5bb6", 3, {"\u5bb6", "\u65cf", "\u5bb6"}},  // wide glyphs stay whole
      {"\u5bb6\u65cf", 1, {"\u5bb6", "\u65cf"}},  // even wider than the row
      {"ae\u0301io", 2, {"ae\u0301", "io"}},        // an accent stays with its letter
      {"abc", 0, {"a", "b", "c"}},                  // a width below 1 counts as 1
      {"word ", 4, {"word"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.width));
    EXPECT_EQ(WrapAtSpaces(c.text, c.width), c.rows);
  }
}

}  // namespace
}  // namespace zorvik
