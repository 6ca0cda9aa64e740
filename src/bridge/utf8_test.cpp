#include "bridge/utf8.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

// Each byte string decodes to its first sequence, or to none; what follows
// the sequence never changes the answer.
TEST(Utf8Test, DecodesTheFirstSequence) {
  struct Case {
    std::string bytes;
    std::size_t length;  // 0: not valid UTF-8 at the start
    char32_t code_point;
  };
  const std::vector<Case> cases = {
      {"", 0, 0},
      {"a", 1, U'a'},
      {std::string(1, '\0'), 1, 0},
      {"\x7F", 1, 0x7F},
      {"\xC3\xB8rv", 2, U'\u00F8'},            // the ø of zørvïk
      {"\xC2\x80", 2, 0x80},                    // the smallest two-byte form
      {"\xDF\xBF", 2, 0x7FF},
      {"\xE2\x80\xA0", 3, U'\u2020'},           // †
      {"\xE0\xA0\x80", 3, 0x800},
      {"\xED\x9F\xBF", 3, 0xD7FF},              // just below the surrogates
      {"\xEE\x80\x80", 3, 0xE000},              // just above them
      {"\xEF\xBF\xBF", 3, 0xFFFF},
      {"\xF0\x9F\x90\x89!", 4, U'\U0001F409'},  // a valid four-byte sequence
      {"\xF0\x90\x80\x80", 4, 0x10000},
      {"\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
      // Overlong forms.
      {"\xC0\xAF", 0, 0},  // '/'
      {"\xC1\xBF", 0, 0},
      {"\xE0\x80\xAF", 0, 0},
      {"\xE0\x9F\xBF", 0, 0},
      {"\xF0\x80\x80\xAF", 0, 0},
      {"\xF0\x8F\xBF\xBF", 0, 0},
      // Surrogates, alone and paired.
      {"\xED\xA0\x80", 0, 0},
      {"\xED\xBF\xBF", 0, 0},
      {"\xED\xA0\xBD\xED\xB0\x89", 0, 0},
      // Beyond U+10FFFF, and leads that never start a sequence.
      {"\xF4\x90\x80\x80", 0, 0},
      {"\xF5\x80\x80\x80", 0, 0},
      {"\xF8\x88\x80\x80\x80", 0, 0},
      {"\xFE", 0, 0},
      {"\xFF", 0, 0},
      {"\x80", 0, 0},
      {"\xBF\x80", 0, 0},
      // A second byte that does not continue the sequence.
      {"\xC3\x28", 0, 0},
      {"\xE2\x28\xA1", 0, 0},
      {"\xE2\x82\x28", 0, 0},
      {"\xF0\x9F\x90\x28", 0, 0},
      {"\xC3\xC3\xB8", 0, 0},
      // Cut short by the end of the text.
      {"\xC3", 0, 0},
      {"\xE2\x82", 0, 0},
      {"\xE2", 0, 0},
      {"\xF0\x9F\x90", 0, 0},
      {"\xF0\x9F", 0, 0},
      {"\xF0", 0, 0},
  };
  for (const Case& c : cases) {
    std::string hex;
    for (char byte : c.bytes) {
      char text[4];
      std::snprintf(text, sizeof text, "%02X ", static_cast<unsigned char>(byte));
      hex += text;
    }
    SCOPED_TRACE(hex);
    const Utf8Sequence sequence = DecodeUtf8(c.bytes);
    EXPECT_EQ(sequence.length, c.length);
    if (c.length == 0) continue;
    EXPECT_EQ(sequence.code_point, c.code_point);
    // The answer is the same when the text ends right after the sequence,
    // and a sequence cut short is invalid however it is cut.
    EXPECT_EQ(DecodeUtf8(c.bytes.substr(0, c.length)).length, c.length);
    for (std::size_t cut = 1; cut < c.length; ++cut) {
      EXPECT_EQ(DecodeUtf8(c.bytes.substr(0, cut)).length, 0u) << "cut at " << cut;
    }
  }
}

}  // namespace
}  // namespace zorvik
