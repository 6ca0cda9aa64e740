// ASCII case, for everything the program compares or writes case-blind:
// window classes and titles, the client's screen names, IRC commands and
// nicknames, typed console commands. Only the letters A-Z and a-z change
// case; every other byte (digits, punctuation, UTF-8) stays as it is.
// The game's own lower case, which also knows accented capitals, is
// LowerCase in match/chat_text.h.
#pragma once

#include <string>
#include <string_view>

namespace zorvik {

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// `text` with AsciiLower applied to every byte.
std::string AsciiLowerCase(std::string_view text);

// Comparisons with letters of either case taken as the same.
constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace zorvik
