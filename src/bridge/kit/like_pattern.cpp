#include "bridge/kit/like_pattern.h"

#include <cstddef>

#include "text/ascii_case.h"

namespace zorvik {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Index of the ']' closing the set that opens at pattern[open], or kNone.
std::size_t SetEnd(std::string_view pattern, std::size_t open) {
  std::size_t first = open + 1;
  if (first < pattern.size() && pattern[first] == '!') ++first;
  return pattern.find(']', first);
}

// A byte as the comparisons see it: letters upper-cased, unsigned.
unsigned char Folded(char c) {
  return static_cast<unsigned char>(AsciiUpper(c));
}

bool SetAdmits(std::string_view pattern, std::size_t open, std::size_t close, unsigned char c) {
  std::size_t i = open + 1;
  const bool negated = i < close && pattern[i] == '!';
  if (negated) ++i;
  bool member = false;
  while (i < close && !member) {
    const unsigned char lo = Folded(pattern[i]);
    if (i + 2 < close && pattern[i + 1] == '-') {
      const unsigned char hi = Folded(pattern[i + 2]);
      member = lo <= c && c <= hi;
      i += 3;
    } else {
      member = lo == c;
      i += 1;
    }
  }
  return member != negated;
}

// Tries the one-character token at pattern[p] against c (folded). Returns the
// token's length in the pattern if it admits c, 0 if it does not.
std::size_t MatchOne(std::string_view pattern, std::size_t p, unsigned char c) {
  switch (pattern[p]) {
    case '?':
      return 1;
    case '#':
      return (c >= '0' && c <= '9') ? 1 : 0;
    case '[': {
      const std::size_t close = SetEnd(pattern, p);
      if (close == kNone) return c == '[' ? 1 : 0;
      return SetAdmits(pattern, p, close, c) ? close - p + 1 : 0;
    }
    default:
      return Folded(pattern[p]) == c ? 1 : 0;
  }
}

}  // namespace

// Every token other than '*' consumes exactly one character, so the greedy
// two-pointer walk is exact: on a mismatch it only needs to let the most
// recent '*' swallow one more character. Earlier stars never need to be
// revisited, which is what keeps long texts with many stars fast.
bool MatchesLikePattern(std::string_view text, std::string_view pattern) {
  std::size_t t = 0;
  std::size_t p = 0;
  std::size_t star_p = kNone;  // pattern position just after the last '*'
  std::size_t star_t = 0;      // text position that '*' has swallowed up to
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star_p = ++p;
      star_t = t;
      continue;
    }
    if (p < pattern.size()) {
      const std::size_t length = MatchOne(pattern, p, Folded(text[t]));
      if (length > 0) {
        p += length;
        ++t;
        continue;
      }
    }
    if (star_p == kNone) return false;
    p = star_p;
    t = ++star_t;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace zorvik
