// The wildcard comparison the client kit uses to recognise window classes
// and titles.
//
// Pattern language, matched against the whole text:
//   ?      any one character
//   *      any run of characters, possibly empty
//   #      one ASCII digit 0-9
//   [set]  one character of the set; members are single characters and
//          ranges such as a-z (a reversed range such as z-a admits nothing);
//          a '-' first or last in the set is a member; '!' right after '['
//          negates the set ([!0-9] is one non-digit). The first ']' after
//          the '[' (or after the '!') closes the set, so [] admits nothing
//          and [!] admits any one character.
//   [      without a closing ']' stands for itself
//   other  itself
// ASCII letters compare case-blind, as if text and pattern had both been
// upper-cased (AsciiUpper) first, ranges included: [a-c] admits "B", and
// [0-z] is [0-Z], which admits no '_'. Every other byte compares exactly.
//
// A character is one byte. Texts are UTF-8, so '?' and a set consume one
// byte of a multi-byte character, not the whole character; the names the
// kit matches are plain ASCII, where the two readings agree, and a byte
// reading keeps the comparison total on invalid UTF-8.
//
// Never dispatches, never allocates; time is O(text × pattern) at worst
// (no backtracking blow-up), linear in practice.
#pragma once

#include <string_view>

namespace zorvik {

bool MatchesLikePattern(std::string_view text, std::string_view pattern);

}  // namespace zorvik
