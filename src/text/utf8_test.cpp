#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvik {
namespace {

TEST(Utf8Test, ReadsWholeCharactersAndTellsBadOnesFromCutOnes) {
  // Valid: ASCII, ø, €, a four-byte character, U+10FFFF (the last), U+FFFD itself.
  for (const std::string bytes : {"a", "\x7F", "\xC3\xB8", "\xE2\x82\xAC", "\xF0\x9F\x90\x89",
                                  "\xF4\x8F\xBF\xBF", "\xEF\xBF\xBD"}) {
    const Utf8Read read = ReadUtf8(bytes + "rv");
    EXPECT_EQ(read.status, Utf8Read::kValid) << testing::PrintToString(bytes);
    EXPECT_EQ(read.length, bytes.size()) << testing::PrintToString(bytes);
  }
  // Invalid: lone bytes, a continuation alone, "(" read again after a lead, overlong
  // forms of "/" in two, three and four bytes, a surrogate, code points above
  // U+10FFFF; then a sequence cut short by ASCII; then incomplete ones.
  const std::pair<std::string, std::size_t> invalid[] = {
      {"\xFE", 1}, {"\xFF", 1}, {"\x80", 1}, {"\xC3\x28", 1}, {"\xC0\xAF", 1},
      {"\xE0\x80\xAF", 1}, {"\xF0\x80\x80\xAF", 1}, {"\xED\xA0\x80", 1},
      {"\xF4\x90\x80\x80", 1}, {"\xF5\x80\x80\x80", 1}, {"\xE2\x82(", 2}};
  for (const auto& [bytes, length] : invalid) {
    const Utf8Read read = ReadUtf8(bytes);
    EXPECT_EQ(read.status, Utf8Read::kInvalid) << testing::PrintToString(bytes);
    EXPECT_EQ(read.length, length) << testing::PrintToString(bytes);
  }
  for (const std::string bytes : {"\xC3", "\xE2\x82", "\xF0\x9F\x90"}) {
    const Utf8Read read = ReadUtf8(bytes);
    EXPECT_EQ(read.status, Utf8Read::kIncomplete) << testing::PrintToString(bytes);
    EXPECT_EQ(read.length, bytes.size()) << testing::PrintToString(bytes);
  }
  EXPECT_EQ(ReadUtf8("A").code_point, U'A');
  EXPECT_EQ(ReadUtf8("\xC3\xB8").code_point, U'\u00F8');
  EXPECT_EQ(ReadUtf8("\xE2\x82\xAC").code_point, U'\u20AC');
  EXPECT_EQ(ReadUtf8("\xF4\x8F\xBF\xBF").code_point, U'\U0010FFFF');
}

}  // namespace
}  // namespace zorvik
