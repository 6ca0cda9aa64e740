#include "console/console_printer.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

// What reaches the terminal of chat text: valid UTF-8 as it is; every byte
// of a control character or of anything that is not UTF-8 as \xNN.
TEST(PrintableTest, EscapesControlsAndWhatIsNotUtf8) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""}, {"-=|[alice choose your attack]|=-", "-=|[alice choose your attack]|=-"},
      {"z\xC3\xB8rv\xC3\xAFk by va\xC3\xB1""d\xC3\xB8r", "z\xC3\xB8rv\xC3\xAFk by va\xC3\xB1""d\xC3\xB8r"},
      {"\xE2\x80\xA0 \xC2\xA0 \xF0\x9F\x90\x89", "\xE2\x80\xA0 \xC2\xA0 \xF0\x9F\x90\x89"},
      {"\x1B[2J\x07tab\tcr\r", "\\x1B[2J\\x07tab\\x09cr\\x0D"},
      {std::string("nul\0del\x7F", 8), "nul\\x00del\\x7F"},
      {"\xC2\x9B" "31m", "\\xC2\\x9B31m"},  // CSI as a C1 control
      {"\xC2\x80 \xC2\x9F", "\\xC2\\x80 \\xC2\\x9F"}, {"\xFE\xFF", "\\xFE\\xFF"},
      {"caf\xE9!", "caf\\xE9!"},                   // Latin-1
      {"\xC3\x28", "\\xC3("},                      // a lead without its continuation
      {"\xC3\xC3\xB8", "\\xC3\xC3\xB8"},           // ... and a good sequence after it
      {"\x80\xBF", "\\x80\\xBF"},                  // continuations alone
      {"\xC0\xAF", "\\xC0\\xAF"},                  // overlong '/'
      {"\xE0\x80\xAF", "\\xE0\\x80\\xAF"},
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},         // a surrogate
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // beyond U+10FFFF
      {"end\xE2\x82", "end\\xE2\\x82"},            // cut short at the end
      {"end\xF0\x9F\x90", "end\\xF0\\x9F\\x90"}, {"x\xC3", "x\\xC3"},
  };
  for (const auto& [text, printed] : cases) {
    SCOPED_TRACE(printed);
    EXPECT_EQ(Printable(text), printed);
  }
}

}  // namespace
}  // namespace zorvik
