#include "bridge/kit/like_pattern.h"

#include <string>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

struct Case {
  const char* text;
  const char* pattern;
  bool matches;
};

// Each wildcard on its own and in combination; the whole text must match.
TEST(LikePatternTest, SemanticsTable) {
  const Case kCases[] = {
      {"", "", true}, {"", "*", true}, {"", "?", false}, {"a", "", false},
      {"RICHCNTL", "RICHCNTL", true}, {"RICHCNTL2", "RICHCNTL", false},  // not a prefix
      {"richcntl", "RICHCNTL", true}, {"RichCntl", "richCNTL", true},    // case-blind
      {"ABC", "A?C", true}, {"AC", "A?C", false}, {"ABBC", "A?C", false},
      {"AC", "A*C", true}, {"AXYZC", "A*C", true}, {"AXYZ", "A*C", false},
      {"ABCABC", "*BC", true}, {"ABCABD", "*BC*BD", true},
      {"MISSISSIPPI", "M*SS*P?", true}, {"MISSISSIPPI", "M*SS*Q*", false},
      {"LOBBY 7", "LOBBY #", true}, {"LOBBY X", "LOBBY #", false}, {"LOBBY 12", "LOBBY #", false},
      {"B", "[ABC]", true}, {"D", "[ABC]", false},
      {"Q", "[A-Z]", true}, {"q", "[A-Z]", true}, {"b", "[a-c]", true},
      {"_", "[0-z]", false},  // as if upper-cased: [0-Z], and '_' is above 'Z'
      {"_", "[!A-Z]", true}, {"5", "[!0-9]", false}, {"X", "[!0-9]", true},
      {"-", "[A-]", true}, {"-", "[-Z]", true},  // a '-' at either end is a member
      {"M", "[Z-A]", false},  // reversed range admits nothing
      {"]", "[]]", false},    // the first ']' closes: empty set, then ']'
      {"X", "[]", false}, {"X", "[!]", true},
      {"[AB", "[AB", true}, {"XAB", "[AB", false},  // unclosed '[' is a literal
      {"*?#", "[*][?][#]", true}, {"A*", "A[*]", true}, {"AB", "A[*]", false},
      {"\xC3\xB8", "??", true}, {"\xC3\xB8", "?", false},  // one byte per character
      {"\xFF\x80", "[\x80-\xFF][\x80-\xFF]", true},  // bytes compare unsigned
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(MatchesLikePattern(c.text, c.pattern), c.matches)
        << "text \"" << c.text << "\" pattern \"" << c.pattern << "\"";
  }
}

// Embedded NULs are ordinary bytes, not terminators.
TEST(LikePatternTest, NulIsAnOrdinaryByte) {
  using namespace std::string_literals;
  EXPECT_TRUE(MatchesLikePattern("A\0B"s, "A?B"));
  EXPECT_FALSE(MatchesLikePattern("A\0B"s, "A"));
}

// Stars before a suffix that never occurs would take exponential time with
// naive backtracking; these finish at once.
TEST(LikePatternTest, LongTextsWithManyStarsStayFast) {
  const std::string text(200'000, 'A');
  std::string pattern;
  for (int i = 0; i < 50; ++i) pattern += "*A";
  EXPECT_TRUE(MatchesLikePattern(text, pattern + "*"));
  EXPECT_FALSE(MatchesLikePattern(text, pattern + "*B"));
  EXPECT_TRUE(MatchesLikePattern(text + "B", pattern + "*[!A]"));
}

}  // namespace
}  // namespace zorvik
