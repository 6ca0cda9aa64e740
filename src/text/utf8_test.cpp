#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvik {
namespace {

TEST(Utf8Test, ReadsWholeCharactersAndTellsBadOnesFromCutOnes) {
  struct Case {
    std::string bytes;
    Utf8Read::Status status;
    std::size_t length;
  };
  const Case cases[] = {
      {"a", Utf8Read::kValid, 1},
      {"\x7F", Utf8Read::kValid, 1},
      {"\xC3\xB8rv", Utf8Read::kValid, 2},         // ø
      {"\xE2\x82\xAC", Utf8Read::kValid, 3},       // €
      {"\xF0\x9F\x90\x89", Utf8Read::kValid, 4},   // a four-byte character
      {"\xF4\x8F\xBF\xBF", Utf8Read::kValid, 4},   // U+10FFFF, the last
      {"\xEF\xBF\xBD", Utf8Read::kValid, 3},       // U+FFFD itself
      {"\xFE", Utf8Read::kInvalid, 1},
      {"\xFF", Utf8Read::kInvalid, 1},
      {"\x80", Utf8Read::kInvalid, 1},             // a continuation alone
      {"\xC3\x28", Utf8Read::kInvalid, 1},         // "(" is read again
      {"\xC0\xAF", Utf8Read::kInvalid, 1},         // overlong "/"
      {"\xE0\x80\xAF", Utf8Read::kInvalid, 1},     // overlong, three bytes
      {"\xF0\x80\x80\xAF", Utf8Read::kInvalid, 1}, // overlong, four bytes
      {"\xED\xA0\x80", Utf8Read::kInvalid, 1},     // a surrogate
      {"\xF4\x90\x80\x80", Utf8Read::kInvalid, 1}, // above U+10FFFF
      {"\xF5\x80\x80\x80", Utf8Read::kInvalid, 1},
      {"\xE2\x82(", Utf8Read::kInvalid, 2},        // cut short by ASCII
      {"\xC3", Utf8Read::kIncomplete, 1},
      {"\xE2\x82", Utf8Read::kIncomplete, 2},
      {"\xF0\x9F\x90", Utf8Read::kIncomplete, 3},
  };
  for (const Case& c : cases) {
    const Utf8Read read = ReadUtf8(c.bytes);
    EXPECT_EQ(read.status, c.status) << testing::PrintToString(c.bytes);
    EXPECT_EQ(read.length, c.length) << testing::PrintToString(c.bytes);
  }
  EXPECT_EQ(ReadUtf8("A").code_point, U'A');
  EXPECT_EQ(ReadUtf8("\xC3\xB8").code_point, U'\u00F8');
  EXPECT_EQ(ReadUtf8("\xE2\x82\xAC").code_point, U'\u20AC');
  EXPECT_EQ(ReadUtf8("\xF4\x8F\xBF\xBF").code_point, U'\U0010FFFF');
}

}  // namespace
}  // namespace zorvik
