#include "windows/line_breaks.h"

#include <gtest/gtest.h>

#include "windows/feedback_form.h"

namespace zorvik {
namespace {

TEST(LineBreaksTest, ShowingAndKeeping) {
  struct Case {
    std::string_view kept;   // the program's text
    std::string_view shown;  // ToLf(kept)
    std::string_view back;   // ToCrLf(shown)
  };
  const Case cases[] = {
      {"", "", ""}, {"a\r\nb\r\n", "a\nb\n", "a\r\nb\r\n"},
      {"a\rb", "a\nb", "a\r\nb"},  // a box's lone CR shows as a break
      {"a\nb", "a\nb", "a\r\nb"},  // a lone LF is kept as CR LF
      {"\r\r\n\n", "\n\n\n", "\r\n\r\n\r\n"}, {"\n\r", "\n\n", "\r\n\r\n"},
      {"no breaks", "no breaks", "no breaks"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToLf(c.kept), c.shown) << c.kept;
    EXPECT_EQ(ToCrLf(c.shown), c.back) << c.shown;
  }
  // Text already in CR LF is not doubled.
  EXPECT_EQ(ToCrLf("a\r\nb"), "a\r\nb");
  EXPECT_EQ(ToCrLf("a\rb"), "a\rb");
  // The feedback text survives a trip through the text box unchanged,
  // trailing spaces included.
  EXPECT_EQ(ToCrLf(ToLf(InitialFeedbackText())), InitialFeedbackText());
}

TEST(LineBreaksTest, LabelsShowAtSignsLiterally) {
  EXPECT_EQ(LabelText("player1:[@->]"), "player1:[@@->]");
  EXPECT_EQ(LabelText("@@"), "@@@@");
  EXPECT_EQ(LabelText("plain"), "plain");
}

}  // namespace
}  // namespace zorvik
