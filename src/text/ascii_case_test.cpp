#include "text/ascii_case.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvik {
namespace {

// Only A-Z and a-z change case: the bytes beside them ('@', '[', '`', '{'),
// digits, control bytes and UTF-8 (É, é) compare exactly.
TEST(AsciiCaseTest, OnlyLettersChangeCase) {
  EXPECT_EQ(AsciiLowerCase("AZaz@[`{09_\x01\xC3\x89"), "azaz@[`{09_\x01\xC3\x89");
  EXPECT_EQ(std::string({AsciiUpper('a'), AsciiUpper('z'), AsciiUpper('`'), AsciiUpper('{')}),
            "AZ`{");
  const struct {
    std::string_view text, other;
    bool equal, starts;  // starts: `text` starts with `other`
  } cases[] = {
      {"", "", true, true}, {"_AOL_Icon", "_aol_icon", true, true},
      {"_AOL_Listbox", "_AOL_L", false, true}, {"_AOL_L", "_AOL_Listbox", false, false},
      {"AOL Child", "AOL_Child", false, false}, {"[@", "{`", false, false},
      {"\xC3\x89", "\xC3\xA9", false, false},
      {std::string_view("a\0b", 3), std::string_view("A\0", 2), false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EqualIgnoringAsciiCase(c.text, c.other), c.equal) << c.text << " / " << c.other;
    EXPECT_EQ(EqualIgnoringAsciiCase(c.other, c.text), c.equal) << c.text << " / " << c.other;
    EXPECT_EQ(StartsWithIgnoringAsciiCase(c.text, c.other), c.starts) << c.text;
  }
}

}  // namespace
}  // namespace zorvik
