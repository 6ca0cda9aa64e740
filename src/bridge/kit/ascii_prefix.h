// Case-blind prefix comparison of window class names, shared by the
// client kit and the window systems it walks.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace zorvik {

// Whether `text` starts with `prefix`, ASCII letters compared case-blind.
// Most classes a walk passes differ from the one it looks for within their
// first eight bytes ("_AOL_Icon" against "_AOL_Listbox"), so those are
// compared as one word: equal words need no more, and words that differ
// in more than the case bit of some byte cannot match. Only a difference
// of case alone is looked at byte by byte.
inline bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  constexpr std::uint64_t kCaseBits = 0x2020202020202020;
  std::size_t i = 0;
  for (; i + 8 <= prefix.size(); i += 8) {
    std::uint64_t a;
    std::uint64_t b;
    std::memcpy(&a, text.data() + i, sizeof a);
    std::memcpy(&b, prefix.data() + i, sizeof b);
    const std::uint64_t difference = a ^ b;
    if (difference == 0) continue;
    if ((difference & ~kCaseBits) != 0) return false;
    break;
  }
  for (; i < prefix.size(); ++i) {
    const char a = text[i];
    const char b = prefix[i];
    if (a == b) continue;
    const char lower = static_cast<char>(a | 0x20);
    if (lower != static_cast<char>(b | 0x20) || lower < 'a' || lower > 'z') return false;
  }
  return true;
}

}  // namespace zorvik
